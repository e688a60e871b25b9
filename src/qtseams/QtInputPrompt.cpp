#include "qtseams/QtInputPrompt.h"

#include "view/AboutDlg.h"
#include "view/CircleDialog.h"
#include "view/FormDialog.h"
#include "view/InputDialog.h"

#include <QApplication>
#include <QProgressDialog>

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
    }
    m_progress->setWindowTitle(QString::fromStdString(title));
    m_progress->setLabelText(QStringLiteral("%1 of %2 written").arg(done).arg(total));
    m_progress->setMaximum(total);
    m_progress->setValue(done); // shows the dialog and lets the window repaint
    QApplication::processEvents();
    return !m_progress->wasCanceled();
}

void QtInputPrompt::EndProgress() {
    m_progress.reset();
}
