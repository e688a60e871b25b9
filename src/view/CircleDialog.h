// The circle mode dialog ("Input"): radius and angle step of circle mode.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// Asks for the circle radius in pixels and the angle step in degrees; OK is refused with
// "Please enter a positive integer." while a field does not hold one.
class CCircleDialog : public QDialog {
    Q_OBJECT

public:
    CCircleDialog(QWidget* parent, unsigned radius, unsigned step);

    // Runs the dialog; 1 for OK (the members then hold the accepted values), 2 for Cancel.
    int DoModal();
    QLineEdit* RadiusEdit() const { return m_pRadiusEdit; }
    QLineEdit* StepEdit() const { return m_pStepEdit; }

    // OK: takes the fields over (or refuses them) and closes.
    void accept() override;

    unsigned m_nRadius;
    unsigned m_nStep;

private:
    void CreateControls();
    // Reads one field into value, or shows the refusal and selects the field.
    bool ReadField(QLineEdit* edit, unsigned& value);

    QLineEdit* m_pRadiusEdit = nullptr;
    QLineEdit* m_pStepEdit = nullptr;
};

// The largest radius or step the dialog accepts: far beyond the chart, yet small enough
// that the circle's pixel and angle arithmetic cannot overflow.
constexpr unsigned kMaxCircleValue = 32767;

// Reads a field of the circle dialog: blanks and tabs around an unsigned decimal number
// of at most kMaxCircleValue. False for a sign, an empty field or anything after the number.
bool ReadCircleValue(const std::string& text, unsigned& value);
