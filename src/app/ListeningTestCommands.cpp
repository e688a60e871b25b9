// Tools > Listening Test and Tools > Test Results: the windows of a listening test, each
// shown beside the chart.
#include "app/TundrelApp.h"

#include "app/MainFrame.h"
#include "experiment-window/ListeningTestDialog.h"
#include "experiment-window/TestResultsDialog.h"

#include "base/FileDialogs.h"

#include <filesystem>

void CTundrelApp::OpenListeningTest(const std::string& path) {
    auto* dialog = new ListeningTestDialog(m_pFrame.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!path.empty())
        dialog->OpenTest(path);
    dialog->show();
}

void CTundrelApp::OnTestResults() {
    const FileChoice choice =
        GetFileDialogs().OpenFile("Test Results", "", "Responses (*.csv);;All Files (*)");
    if (!choice.accepted)
        return;
    auto* dialog = new TestResultsDialog(m_pFrame.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (dialog->OpenResponses(choice.path))
        dialog->show();
    else
        dialog->close();
}
