#include "view/CircleDialog.h"

#include "base/MessageBox.h"
#include "doc/TundrelDoc.h"
#include "view/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QLineEdit* AddField(QDialog* dialog, const DialogUnits& units, const char* caption, int y,
                    unsigned value) {
    auto* label = new QLabel(QString::fromLatin1(caption), dialog);
    label->setGeometry(units.Rect(7, y + 2, 30, 8));
    auto* edit = new QLineEdit(QString::number(value), dialog);
    edit->setGeometry(units.Rect(40, y, 138, 12));
    return edit;
}

} // namespace

CCircleDialog::CCircleDialog(QWidget* parent, unsigned radius, unsigned step)
    : QDialog(parent), m_nRadius(radius), m_nStep(step) {
    setWindowTitle(QStringLiteral("Input"));
    setFont(DialogFont());
    CreateControls();
}

// Template 148: 186 x 71 units, "Radius :" and "Step :" with their fields, OK and Cancel.
void CCircleDialog::CreateControls() {
    const DialogUnits units(font());
    setFixedSize(units.Size(186, 71));
    m_pRadiusEdit = AddField(this, units, "Radius :", 8, m_nRadius);
    m_pStepEdit = AddField(this, units, "Step :", 30, m_nStep);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units.Rect(30, 50, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(units.Rect(108, 50, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_pRadiusEdit->setFocus();
}

bool CCircleDialog::ReadField(QLineEdit* edit, unsigned& value) {
    if (ReadCircleValue(edit->text().toStdString(), value))
        return true;
    ShowMessage("Please enter a positive integer.", kAppTitle, MsgIcon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CCircleDialog::accept() {
    unsigned radius = 0;
    unsigned step = 0;
    if (!ReadField(m_pRadiusEdit, radius) || !ReadField(m_pStepEdit, step))
        return;
    m_nRadius = radius;
    m_nStep = step;
    QDialog::accept();
}

int CCircleDialog::DoModal() {
    return exec() == QDialog::Accepted ? 1 : 2;
}

bool ReadCircleValue(const std::string& text, unsigned& value) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    if (begin == end)
        return false;
    unsigned long long number = 0;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        number = number * 10 + static_cast<unsigned>(text[i] - '0');
        if (number > kMaxCircleValue)
            return false;
    }
    value = static_cast<unsigned>(number);
    return true;
}
