// Answers the input, circle and About dialogs from a script and records what was asked.
#pragma once

#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "view/InputPrompt.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ScriptedPrompt : public IInputPrompt {
public:
    ScriptedPrompt() { SetInputPrompt(this); }
    ~ScriptedPrompt() override { SetInputPrompt(nullptr); }
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    // The next text dialog ends with OK and text, or with Cancel for std::nullopt.
    void AnswerText(std::optional<std::string> text) { m_texts.push_back(std::move(text)); }
    void AnswerCircle(unsigned radius, unsigned step) { m_circle = {radius, step}; }
    // The next form gets its fields filled in and OK pressed; a refusal is shown and the
    // next answer goes to the same form. Cancel when no answer is left.
    void AnswerForm(std::function<void(InputForm&)> fill) { m_forms.push_back(std::move(fill)); }

    bool AskText(const std::string& prompt, const std::string& initialText,
                 std::string& result) override {
        prompts.push_back(prompt);
        initialTexts.push_back(initialText);
        if (m_texts.empty() || !m_texts.front()) {
            if (!m_texts.empty())
                m_texts.pop_front();
            return false;
        }
        result = *m_texts.front();
        m_texts.pop_front();
        return true;
    }
    bool AskCircle(unsigned& radius, unsigned& step) override {
        circleAsked.push_back({radius, step});
        if (!m_circle)
            return false;
        radius = m_circle->first;
        step = m_circle->second;
        m_circle.reset();
        return true;
    }
    void ShowAbout() override { ++aboutShown; }
    bool AskForm(InputForm& form) override {
        formsAsked.push_back(form);
        while (!m_forms.empty()) {
            m_forms.front()(form);
            m_forms.pop_front();
            const std::string problem = form.check ? form.check(form) : std::string();
            if (problem.empty())
                return true;
            ShowMessage(problem, form.title, MsgIcon::Warning);
        }
        return false;
    }
    bool ShowProgress(const std::string&, int done, int total) override {
        progress.push_back({done, total});
        return cancelAt < 0 || done < cancelAt;
    }
    void EndProgress() override { ++progressEnded; }

    std::vector<std::string> prompts;
    std::vector<std::string> initialTexts;
    std::vector<std::pair<unsigned, unsigned>> circleAsked;
    int aboutShown = 0;
    std::vector<InputForm> formsAsked; // as each form was shown
    std::vector<std::pair<int, int>> progress;
    int cancelAt = -1; // progress is cancelled once this much is done
    int progressEnded = 0;

private:
    std::deque<std::optional<std::string>> m_texts;
    std::optional<std::pair<unsigned, unsigned>> m_circle;
    std::deque<std::function<void(InputForm&)>> m_forms;
};

// Answers the folder chooser with one folder, or cancels when there is none.
class ScriptedFolders : public IFolderChooser {
public:
    ScriptedFolders() { SetFolderChooser(this); }
    ~ScriptedFolders() override { SetFolderChooser(nullptr); }
    ScriptedFolders(const ScriptedFolders&) = delete;
    ScriptedFolders& operator=(const ScriptedFolders&) = delete;

    bool ChooseFolder(const std::string& title, std::string& path) override {
        titles.push_back(title);
        if (answer.empty())
            return false;
        path = answer;
        return true;
    }
    std::string answer;
    std::vector<std::string> titles;
};
