#include "view/FormDialog.h"

#include "base/FolderBrowser.h"
#include "base/MessageBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CFormDialog::CFormDialog(QWidget* parent, const InputForm& form) : QDialog(parent), m_form(form) {
    setWindowTitle(QString::fromStdString(form.title));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    layout->addLayout(fields);
    for (size_t i = 0; i < form.fields.size(); ++i)
        AddField(static_cast<int>(i), form.fields[i], fields);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Fields that only one choice of another field takes are enabled while it is chosen.
    for (size_t i = 0; i < form.fields.size(); ++i) {
        const FormField& field = form.fields[i];
        const auto by = static_cast<size_t>(field.enabledByField);
        if (field.enabledByField < 0 || by >= m_editors.size())
            continue;
        auto* choice = qobject_cast<QComboBox*>(m_editors[by]);
        if (!choice)
            continue;
        QWidget* editor = m_editors[i];
        const int wanted = field.enabledByChoice;
        editor->setEnabled(choice->currentIndex() == wanted);
        connect(choice, &QComboBox::currentIndexChanged, editor,
                [editor, wanted](int index) { editor->setEnabled(index == wanted); });
    }
    if (!m_editors.empty())
        m_editors.front()->setFocus();
}

void CFormDialog::AddField(int index, const FormField& field, QFormLayout* layout) {
    const QString label = QString::fromStdString(field.label);
    if (field.kind == FormField::Kind::Choice) {
        auto* choice = new QComboBox(this);
        for (const std::string& text : field.choices)
            choice->addItem(QString::fromStdString(text));
        choice->setCurrentIndex(field.chosen);
        layout->addRow(label, choice);
        m_editors.push_back(choice);
        return;
    }
    auto* edit = new QLineEdit(QString::fromStdString(field.text), this);
    m_editors.push_back(edit);
    if (field.kind == FormField::Kind::Text) {
        layout->addRow(label, edit);
        return;
    }
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setAutoDefault(false);
    row->addWidget(browse);
    layout->addRow(label, row);
    connect(browse, &QPushButton::clicked, this, [this, edit, index] {
        CFolderBrowser browser;
        browser.m_strTitle = m_form.fields[static_cast<size_t>(index)].label;
        browser.m_strPath = edit->text().toStdString();
        if (browser.Browse())
            edit->setText(QString::fromStdString(browser.m_strPath));
    });
}

InputForm CFormDialog::Entered() const {
    InputForm entered = m_form;
    for (size_t i = 0; i < entered.fields.size(); ++i) {
        FormField& field = entered.fields[i];
        if (auto* choice = qobject_cast<QComboBox*>(m_editors[i]))
            field.chosen = choice->currentIndex();
        else if (auto* edit = qobject_cast<QLineEdit*>(m_editors[i]))
            field.text = edit->text().toStdString();
    }
    return entered;
}

void CFormDialog::accept() {
    InputForm entered = Entered();
    if (entered.check) {
        if (const std::string problem = entered.check(entered); !problem.empty()) {
            ShowMessage(problem, entered.title, MsgIcon::Warning);
            return;
        }
    }
    m_form = std::move(entered);
    QDialog::accept();
}
