#include "view/InputPrompt.h"

#include "view/AboutDlg.h"
#include "view/CircleDialog.h"
#include "view/InputDialog.h"

#include <QApplication>

namespace {

// The real dialogs, owned by whichever window of the program is active.
class DialogInputPrompt : public IInputPrompt {
public:
    bool AskText(const std::string& prompt, const std::string& initialText,
                 std::string& result) override {
        CInputDialog dialog(QApplication::activeWindow(), prompt, initialText);
        if (dialog.DoModal() != 1)
            return false;
        result = dialog.GetText();
        return true;
    }
    bool AskCircle(unsigned& radius, unsigned& step) override {
        CCircleDialog dialog(QApplication::activeWindow(), radius, step);
        if (dialog.DoModal() != 1)
            return false;
        radius = dialog.m_nRadius;
        step = dialog.m_nStep;
        return true;
    }
    void ShowAbout() override {
        CAboutDlg dialog(QApplication::activeWindow());
        dialog.DoModal();
    }
};

IInputPrompt* g_installedPrompt = nullptr;

} // namespace

void SetInputPrompt(IInputPrompt* prompt) {
    g_installedPrompt = prompt;
}

IInputPrompt& GetInputPrompt() {
    static DialogInputPrompt dialogs;
    return g_installedPrompt ? *g_installedPrompt : dialogs;
}
