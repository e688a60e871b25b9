// The view's commands that ask first: zoom grid, duration, female tilt, circle parameters,
// the folder for "temp.wav" and the action log.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "view/InputDialog.h"
#include "view/InputPrompt.h"
#include "view/VowelRowDelegate.h"

#include <QListWidget>

bool CTundrelView::DoDialogCommand(int id) {
    switch (id) {
    case ID_ZOOM_PARAMETERS:
        OnZoomParameters();
        break;
    case ID_DURATION:
        OnDuration();
        break;
    case ID_FEMALE_TILT:
        OnFemaleTilt();
        break;
    case ID_CIRCLE_PARAMETERS:
        OnCircleParameters();
        break;
    case ID_TEMP_PATH:
        OnSelectTempPath();
        break;
    case ID_LOG_TO_FILE:
        OnLogToFile();
        break;
    default:
        return false;
    }
    return true;
}

CommandState CTundrelView::StateOfDialogCommand(int id) const {
    CommandState state;
    switch (id) {
    case ID_ZOOM_PARAMETERS:
        state.handled = true;
        state.enabled = m_bZoom;
        break;
    case ID_LOG_TO_FILE:
        state.handled = true;
        state.checked = m_log.IsOn();
        break;
    case ID_DURATION:
    case ID_FEMALE_TILT:
    case ID_CIRCLE_PARAMETERS:
    case ID_TEMP_PATH:
        state.handled = true;
        break;
    default:
        break;
    }
    return state;
}

// Asks for an integer with the input dialog; false on Cancel.
static bool AskNumberText(const char* prompt, int initial, std::string& text) {
    return GetInputPrompt().AskText(prompt, std::to_string(initial), text);
}

void CTundrelView::OnZoomParameters() {
    std::string text;
    if (!AskNumberText("Wieviele Formantpositionen ?", CellCountOfGridWidth(m_nGridWidth), text))
        return;
    // The point keeps its pixel position; only the grid and later snapping change.
    m_nGridWidth = GridWidthFromCellCount(text);
    if (m_bShowGrid && m_bZoom)
        Redraw();
}

void CTundrelView::OnDuration() {
    std::string text;
    if (!AskNumberText("Length of Vowel in % (1 - 100)", m_nDuration, text))
        return;
    m_nDuration = DurationFromText(text);
    SetDuration(m_nDuration);
    PlayCurrent();
}

void CTundrelView::OnFemaleTilt() {
    std::string text;
    if (!AskNumberText("Spectral tilt above 3 kHz in dB (0 - 24)", m_nFemaleTilt, text))
        return;
    m_nFemaleTilt = FemaleTiltFromText(text);
    PlayCurrent();
}

void CTundrelView::OnCircleParameters() {
    unsigned radius = static_cast<unsigned>(m_nCircleRadius);
    unsigned step = static_cast<unsigned>(m_nCircleStep);
    if (!GetInputPrompt().AskCircle(radius, step))
        return;
    m_nCircleRadius = static_cast<int>(radius);
    m_nCircleStep = static_cast<int>(step);
    m_bCircle = true;
    Redraw();
}

void CTundrelView::OnSelectTempPath() {
    CFolderBrowser browser;
    browser.m_strTitle = "Select a Directory for the 'temp.wav' File:";
    browser.m_strPath = g_strTempDir;
    if (browser.Browse())
        g_strTempDir = browser.m_strPath;
}

void CTundrelView::OnLogToFile() {
    const int row = SelectedRow();
    if (m_log.IsOn()) {
        if (ShowMessage("Mitprotokollieren beenden ?", "Frage", MsgIcon::Question,
                        MsgButtons::YesNo) == MsgAnswer::Yes)
            m_log.Stop();
        return;
    }
    std::string name;
    if (!GetInputPrompt().AskText("Bitte Namen eingeben:", "", name))
        return;
    if (!m_log.Start(name + ".log")) {
        ShowMessage("Konnte File nicht anlegen!", "Error", MsgIcon::Error);
        return;
    }
    m_log.VowelSelected(ListEntryBytes(row));
}

// How the vowel list and the exports write the mark of a stored vowel: one byte, 0x97.
static constexpr char kModifiedMarkByte = '\x97';

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
