// The action log: what the chart selects, plays, stores and resets, written line by line
// to a file the user names.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "base/MessageBox.h"
#include "view/InputPrompt.h"
#include "view/VowelRowDelegate.h"

#include <QListWidget>

namespace {

// How the vowel list and the exports write the mark of a stored vowel: one byte, 0x97.
constexpr char kModifiedMarkByte = '\x97';

} // namespace

void CTundrelView::OnLogToFile() {
    const int row = SelectedRow();
    if (m_bLog) {
        if (ShowMessage("Mitprotokollieren beenden ?", "Frage", MsgIcon::Question,
                        MsgButtons::YesNo) == MsgAnswer::Yes)
            CloseLog();
        return;
    }
    std::string name;
    if (!GetInputPrompt().AskText("Bitte Namen eingeben:", "", name))
        return;
    // Relative names land in the working directory, which the file dialogs move, or
    // before the first of them in the log folder of a start from the desktop menu.
    std::string path = name + ".log";
    if (!g_strLogDir.empty() && path[0] != '/')
        path = g_strLogDir + "/" + path;
    m_pLogFile = std::fopen(path.c_str(), "wb+");
    if (!m_pLogFile) {
        ShowMessage("Konnte File nicht anlegen!", "Error", MsgIcon::Error);
        return;
    }
    m_bLog = true;
    LogLine("Vowel selected: " + ListEntryBytes(row));
}

void CTundrelView::CloseLog() {
    if (m_pLogFile)
        std::fclose(m_pLogFile);
    m_pLogFile = nullptr;
    m_bLog = false;
}

void CTundrelView::LogLine(const std::string& line) {
    if (!m_bLog || !m_pLogFile)
        return;
    std::fputs(line.c_str(), m_pLogFile);
    std::fputs("\r\n", m_pLogFile);
}

void CTundrelView::LogSelectedVowel() {
    if (m_bLog)
        LogLine("Vowel selected: " + ListEntryBytes(SelectedRow()));
}

void CTundrelView::LogFormants() {
    if (m_bLog)
        LogLine(std::to_string(m_nF1) + ";" + std::to_string(m_nF2) + ";" + std::to_string(m_nF3));
}

// The list entry as the list holds it: the symbol's font byte, then the mark byte of a
// stored vowel. Nothing for a row that does not exist.
std::string CTundrelView::ListEntryBytes(int row) const {
    if (row < 0 || row >= m_pVowelList->count())
        return std::string();
    const QListWidgetItem* item = m_pVowelList->item(row);
    std::string bytes(1, static_cast<char>(item->data(Qt::UserRole).toInt()));
    if (item->text().endsWith(kModifiedMark))
        bytes += kModifiedMarkByte;
    return bytes;
}
