// The view's input, circle and About dialogs, its forms and the progress of long tasks,
// behind the program's input-prompt seam.
#pragma once

#include "view/InputPrompt.h"

#include <memory>

class QProgressBar;
class QProgressDialog;

// Runs the real dialogs, owned by whichever window of the program is active.
class QtInputPrompt : public IInputPrompt {
public:
    QtInputPrompt();
    ~QtInputPrompt() override;

    bool AskText(const std::string& prompt, const std::string& initialText,
                 std::string& result) override;
    bool AskCircle(unsigned& radius, unsigned& step) override;
    void ShowAbout() override;
    bool AskForm(InputForm& form) override;
    // A window-modal progress dialog, shown at once; the task runs on a worker while the
    // window's event loop runs (LongTask.h), so the window repaints and Cancel can be
    // clicked.
    bool ShowProgress(const std::string& title, int done, int total) override;
    void EndProgress() override;

private:
    std::unique_ptr<QProgressDialog> m_progress;
    QProgressBar* m_bar = nullptr; // the dialog's bar
};
