#include "qtseams/QtInputPrompt.h"

#include "view/AboutDlg.h"
#include "view/CircleDialog.h"
#include "view/InputDialog.h"

#include <QApplication>

bool QtInputPrompt::AskText(const std::string& prompt, const std::string& initialText,
                            std::string& result) {
    CInputDialog dialog(QApplication::activeWindow(), prompt, initialText);
    if (dialog.DoModal() != 1)
        return false;
    result = dialog.GetText();
    return true;
}

bool QtInputPrompt::AskCircle(unsigned& radius, unsigned& step) {
    CCircleDialog dialog(QApplication::activeWindow(), radius, step);
    if (dialog.DoModal() != 1)
        return false;
    radius = dialog.m_nRadius;
    step = dialog.m_nStep;
    return true;
}

void QtInputPrompt::ShowAbout() {
    CAboutDlg dialog(QApplication::activeWindow());
    dialog.DoModal();
}
