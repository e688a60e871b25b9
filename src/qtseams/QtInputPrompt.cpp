#include "qtseams/QtInputPrompt.h"

#include "view/AboutDlg.h"
#include "view/CircleDialog.h"
#include "view/FormDialog.h"
#include "view/InputDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProgressBar>
#include <QProgressDialog>

#include <algorithm>

namespace {

// Room the title bar takes beside the title: the window's icon and its buttons.
constexpr int kTitleBarButtonsWidth = 160;

} // namespace

QtInputPrompt::QtInputPrompt() = default;

QtInputPrompt::~QtInputPrompt() = default;

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

bool QtInputPrompt::AskForm(InputForm& form) {
    CFormDialog dialog(QApplication::activeWindow(), form);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    form = dialog.Form();
    return true;
}

bool QtInputPrompt::ShowProgress(const std::string& title, int done, int total) {
    if (!m_progress) {
        m_progress = std::make_unique<QProgressDialog>(QApplication::activeWindow());
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setMinimumDuration(0);
        m_progress->setCancelButtonText(QStringLiteral("Cancel"));
        // The dialog's own setValue pumps the events of a modal dialog; the bar is set
        // directly, since the task runs on a worker while the window's event loop runs.
        m_bar = new QProgressBar;
        m_progress->setBar(m_bar); // owned by the dialog
    }
    const QString caption = QString::fromStdString(title);
    m_progress->setWindowTitle(caption);
    m_progress->setLabelText(QStringLiteral("%1 of %2 written").arg(done).arg(total));
    // Wide enough for the title beside the title bar's buttons, not only for the text.
    const int titleWidth =
        QFontMetrics(QApplication::font()).horizontalAdvance(caption) + kTitleBarButtonsWidth;
    m_progress->setMinimumWidth(std::max(m_progress->sizeHint().width(), titleWidth));
    m_progress->setMaximum(total);
    m_bar->setValue(done);
    // Shown at once the first time, and not again once the user has closed it.
    QMetaObject::invokeMethod(m_progress.get(), "forceShow", Qt::DirectConnection);
    return !m_progress->wasCanceled();
}

void QtInputPrompt::EndProgress() {
    m_bar = nullptr;
    m_progress.reset();
}
