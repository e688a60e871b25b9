// The view's commands that ask first: zoom grid, duration, female tilt, circle parameters,
// the folder for "temp.wav" and the action log.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "view/InputDialog.h"
#include "view/InputPrompt.h"

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

// Asks for an integer with the input dialog; false on Cancel.
static bool AskNumberText(const char* prompt, int initial, std::string& text) {
    return GetInputPrompt().AskText(prompt, std::to_string(initial), text);
}

void CTundrelView::OnZoomParameters() {
    std::string text;
    if (!AskNumberText("Wieviele Formantpositionen ?",
                       CellCountOfGridWidth(m_state.Shown().GridWidth()), text))
        return;
    // The point keeps its pixel position; only the grid and later snapping change.
    m_state.Shown().SetGridWidth(GridWidthFromCellCount(text));
}

void CTundrelView::OnDuration() {
    std::string text;
    if (!AskNumberText("Length of Vowel in % (1 - 100)", m_state.Sound().LastDuration(), text))
        return;
    m_state.Sound().EnterDuration(DurationFromText(text));
    ShowSliders();
    PlayCurrent();
}

void CTundrelView::OnFemaleTilt() {
    std::string text;
    if (!AskNumberText("Spectral tilt above 3 kHz in dB (0 - 24)", m_state.Sound().FemaleTilt(),
                       text))
        return;
    m_state.Sound().SetFemaleTilt(FemaleTiltFromText(text));
    PlayCurrent();
}

void CTundrelView::OnCircleParameters() {
    unsigned radius = static_cast<unsigned>(m_state.Selection().CircleRadius());
    unsigned step = static_cast<unsigned>(m_state.Selection().CircleStep());
    if (!GetInputPrompt().AskCircle(radius, step))
        return;
    m_state.Selection().SetCircle(static_cast<int>(radius), static_cast<int>(step));
}

void CTundrelView::OnSelectTempPath() {
    CFolderBrowser browser;
    browser.m_strTitle = "Select a Directory for the 'temp.wav' File:";
    browser.m_strPath = g_strTempDir;
    if (browser.Browse())
        g_strTempDir = browser.m_strPath;
}

void CTundrelView::OnLogToFile() {
    const int row = m_state.List().SelectedRow();
    if (m_log.IsOn()) {
        if (ShowMessage("Mitprotokollieren beenden ?", "Frage", MsgIcon::Question,
                        MsgButtons::YesNo) == MsgAnswer::Yes)
            m_log.Stop();
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
    if (!m_log.Start(path)) {
        ShowMessage("Konnte File nicht anlegen!", "Error", MsgIcon::Error);
        return;
    }
    m_log.VowelSelected(m_state.List().ListEntry(row));
}
