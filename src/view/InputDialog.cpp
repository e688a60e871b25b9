#include "view/InputDialog.h"

#include "view/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cctype>
#include <climits>

namespace {

constexpr int kChartCells = 380; // the chart's width in pixels

} // namespace

CInputDialog::CInputDialog(QWidget* parent, const std::string& prompt, int value)
    : CInputDialog(parent, prompt, std::to_string(value)) {}

CInputDialog::CInputDialog(QWidget* parent, const std::string& prompt, const std::string& text)
    : QDialog(parent), m_strText(text), m_strPrompt(prompt) {
    setWindowTitle(QStringLiteral("Input"));
    setFont(DialogFont());
    CreateControls();
}

// Template 142: 186 x 71 units, the question above the field, OK and Cancel below.
void CInputDialog::CreateControls() {
    const DialogUnits units(font());
    setFixedSize(units.Size(186, 71));
    m_pPrompt = new QLabel(QString::fromStdString(m_strPrompt), this);
    m_pPrompt->setGeometry(units.Rect(7, 7, 172, 18));
    m_pPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pPrompt->setWordWrap(true);
    m_pEdit = new QLineEdit(QString::fromStdString(m_strText), this);
    m_pEdit->setGeometry(units.Rect(7, 25, 172, 15));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units.Rect(30, 50, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(units.Rect(90, 50, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_pEdit->setFocus();
    m_pEdit->selectAll();
}

void CInputDialog::accept() {
    m_strText = m_pEdit->text().toStdString();
    QDialog::accept();
}

int CInputDialog::DoModal() {
    return exec() == QDialog::Accepted ? 1 : 2;
}

int ReadDialogNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    value = negative ? -value : std::min(value, static_cast<long long>(INT_MAX));
    return static_cast<int>(value);
}

int GridWidthFromCellCount(const std::string& text) {
    return kChartCells / std::clamp(ReadDialogNumber(text), 1, kChartCells);
}

int CellCountOfGridWidth(int gridWidth) {
    return gridWidth > 0 ? kChartCells / gridWidth : 0;
}

int FemaleTiltFromText(const std::string& text) {
    return std::clamp(ReadDialogNumber(text), 0, 24);
}

int DurationFromText(const std::string& text) {
    return std::clamp(ReadDialogNumber(text), 1, 100);
}
