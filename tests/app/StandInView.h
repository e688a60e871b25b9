// A chart-view stand-in that records what the frame asks of it and answers from a table.
#pragma once

#include "app/FrameView.h"

#include <QWidget>
#include <map>
#include <vector>

class StandInView : public QWidget {
    Q_OBJECT

public:
    void SetVoiceFiles(const std::vector<std::string>* files) { voiceFiles = files; }
    void OnInitialUpdate() { ++initialUpdates; }
    void OnCommand(int id) { commands.push_back(id); }
    CommandState OnUpdateCommand(int id) const {
        ++stateQueries[id];
        const auto it = states.find(id);
        return it == states.end() ? CommandState{} : it->second;
    }
    QSize RequiredClientSize() const { return advanced ? QSize(472, 385) : QSize(430, 385); }
    void OnFrameMoved(const QRect& rect) { moves.push_back(rect); }
    void OnDestroy() {
        ++destroys;
        if (destroyCounter)
            ++*destroyCounter;
    }

    // Marks the commands handled and enabled, unchecked.
    void Handle(std::initializer_list<int> ids) {
        for (int id : ids)
            states[id] = CommandState{true, true, false, nullptr};
    }

    const std::vector<std::string>* voiceFiles = nullptr;
    int initialUpdates = 0;
    std::vector<int> commands;
    std::map<int, CommandState> states;
    mutable std::map<int, int> stateQueries;
    bool advanced = false;
    std::vector<QRect> moves;
    int destroys = 0;
    int* destroyCounter = nullptr; // outlives the view

signals:
    void statusTextChanged(const QString& text);
    void requiredSizeChanged();
    void commandStatesChanged();
};

// Plays the application's part: records its commands and answers the save question.
class StandInHost : public IFrameHost {
public:
    CommandState OnUpdateCommand(int id) const override {
        const bool own = id == ID_FILE_NEW;
        return CommandState{own, own, false, nullptr};
    }
    void OnCommand(int id) override { commands.push_back(id); }
    std::string DocumentTitle() const override { return title; }
    bool SaveModified() override {
        ++saveQuestions;
        return allowClose;
    }

    std::string title = "Untitled";
    std::vector<int> commands;
    bool allowClose = true;
    int saveQuestions = 0;
};
