// The one-line input dialog ("Input") and how its text becomes a number for each use.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

// Asks one question and takes one line of text: the zoom grid, the female tilt, the vowel
// duration and the name of the action log.
class CInputDialog : public QDialog {
    Q_OBJECT

public:
    // The initial text is value written in decimal.
    CInputDialog(QWidget* parent, const std::string& prompt, int value);
    CInputDialog(QWidget* parent, const std::string& prompt, const std::string& text);

    // Runs the dialog; 1 for OK (m_strText then holds the edited text), 2 for Cancel.
    int DoModal();
    std::string GetText() const { return m_strText; }
    QLineEdit* Edit() const { return m_pEdit; }
    QLabel* Prompt() const { return m_pPrompt; }

    // OK: takes the fields over (or refuses them) and closes.
    void accept() override;

    std::string m_strText;
    std::string m_strPrompt;

private:
    void CreateControls();

    QLabel* m_pPrompt = nullptr;
    QLineEdit* m_pEdit = nullptr;
};

// Reads the text as the C library's string-to-integer conversion does: leading white
// space, one optional sign, then decimal digits up to the first other character; 0 when
// there are none. Values beyond the int range stop at its ends.
int ReadDialogNumber(const std::string& text);

// The zoom use: the number of grid cells across the chart, kept to 1..380, gives the
// cell width 380 div n in pixels.
int GridWidthFromCellCount(const std::string& text);
// The cell count the zoom dialog starts with for a grid width.
int CellCountOfGridWidth(int gridWidth);
// The female tilt use: dB, kept to 0..24.
int FemaleTiltFromText(const std::string& text);
// The duration use: percent, kept to 1..100.
int DurationFromText(const std::string& text);
