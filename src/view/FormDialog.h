// The dialog of a form: one labelled field per line, OK and Cancel.
#pragma once

#include "view/InputPrompt.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QFormLayout;
class QLineEdit;

// Shows an InputForm's fields: a line edit for text, a drop-down list for a choice, a line
// edit with "Browse..." for a folder. OK takes the values and runs the form's check; a
// refusal is shown and the dialog stays open.
class CFormDialog : public QDialog {
    Q_OBJECT

public:
    CFormDialog(QWidget* parent, const InputForm& form);

    // The form with the values entered (those of the last OK that the check took).
    const InputForm& Form() const { return m_form; }
    // The editor of field i: a QLineEdit or a QComboBox.
    QWidget* Editor(int field) const { return m_editors[static_cast<size_t>(field)]; }

    // OK: takes the values, or shows why they cannot be taken and stays open.
    void accept() override;

private:
    void AddField(int index, const FormField& field, QFormLayout* layout);
    InputForm Entered() const;

    InputForm m_form;
    std::vector<QWidget*> m_editors;
};
