#include "experiment-window/TestResultsDialog.h"

#include "base/FileDialogs.h"
#include "base/SafeFile.h"
#include "drawing/ResultsFigure.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace {
const char* const kTitle = "Test Results";
} // namespace

// The curves of one participant, drawn as the exported figure, scaled to the widget.
class CurvesView : public QWidget {
public:
    CurvesView() { setMinimumSize(kResultsFigureWidth, kResultsFigureHeight); }
    void Show(const std::vector<LabelCurve>* curves, const std::string& participant) {
        m_curves = curves;
        m_participant = participant;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!m_curves)
            return;
        const double scale = std::min(width() / double(kResultsFigureWidth),
                                      height() / double(kResultsFigureHeight));
        painter.translate((width() - scale * kResultsFigureWidth) / 2,
                          (height() - scale * kResultsFigureHeight) / 2);
        painter.scale(scale, scale);
        DrawIdentificationCurves(painter, *m_curves, m_participant);
    }

private:
    const std::vector<LabelCurve>* m_curves = nullptr;
    std::string m_participant;
};

TestResultsDialog::TestResultsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitle);
    m_participant = new QComboBox;
    m_view = new CurvesView;
    m_table = new QPlainTextEdit;
    m_table->setReadOnly(true);
    m_table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_table->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("&Participant:")));
    top->addWidget(m_participant, 1);
    auto* buttons = new QDialogButtonBox;
    QPushButton* open = buttons->addButton(tr("&Open..."), QDialogButtonBox::ActionRole);
    QPushButton* figure = buttons->addButton(tr("Export &Figure..."), QDialogButtonBox::ActionRole);
    QPushButton* csv = buttons->addButton(tr("Export &Estimates..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 3);
    layout->addWidget(m_table, 2);
    layout->addWidget(buttons);
    connect(open, &QPushButton::clicked, this, &TestResultsDialog::Open);
    connect(figure, &QPushButton::clicked, this, &TestResultsDialog::ExportFigure);
    connect(csv, &QPushButton::clicked, this, &TestResultsDialog::ExportEstimates);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_participant, &QComboBox::currentIndexChanged, this,
            &TestResultsDialog::ShowParticipant);
    resize(720, 760);
}

bool TestResultsDialog::OpenResponses(const std::string& path) {
    std::vector<Response> responses;
    const std::string problem = ReadResponses(path, responses);
    if (!problem.empty()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
        return false;
    }
    m_path = path;
    m_curves = IdentificationCurves(responses);
    m_pairs = PairDiscriminations(responses);
    QString text = QString::fromStdString(IdentificationCsv(m_curves));
    for (const LabelCurve& curve : m_curves) {
        if (!curve.fit.message.empty())
            text += QString::fromStdString("# " + curve.participant + ", " + curve.label + ": " +
                                           curve.fit.message + "\n");
    }
    if (!m_pairs.empty())
        text += "\n" + QString::fromStdString(DiscriminationCsv(m_pairs));
    m_table->setPlainText(text);
    setWindowTitle(QString::fromStdString(std::string(kTitle) + " - " +
                                          std::filesystem::path(path).filename().string()));
    m_participant->blockSignals(true);
    m_participant->clear();
    for (const LabelCurve& curve : m_curves) {
        const QString code = QString::fromStdString(curve.participant);
        if (m_participant->findText(code) < 0)
            m_participant->addItem(code);
    }
    m_participant->setCurrentIndex(m_participant->count() - 1); // the pooled curves
    m_participant->blockSignals(false);
    ShowParticipant();
    return true;
}

void TestResultsDialog::ShowParticipant() {
    m_view->Show(&m_curves, m_participant->currentText().toStdString());
}

void TestResultsDialog::Open() {
    const FileChoice choice =
        GetFileDialogs().OpenFile(kTitle, std::filesystem::path(m_path).parent_path().string(),
                                  "Responses (*.csv);;All Files (*)");
    if (choice.accepted)
        OpenResponses(choice.path);
}

void TestResultsDialog::ExportFigure() {
    if (m_curves.empty())
        return;
    const FileChoice choice = GetFileDialogs().SaveFile(
        kTitle, std::filesystem::path(m_path).parent_path().string(), "curves.svg",
        "SVG drawing (*.svg);;PDF document (*.pdf);;PNG picture (*.png)", "svg");
    if (!choice.accepted)
        return;
    std::string problem;
    if (!WriteResultsFigure(choice.path, m_curves, m_participant->currentText().toStdString(),
                            problem))
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
}

void TestResultsDialog::ExportEstimates() {
    if (m_curves.empty() && m_pairs.empty())
        return;
    const FileChoice choice =
        GetFileDialogs().SaveFile(kTitle, std::filesystem::path(m_path).parent_path().string(),
                                  "estimates.csv", "CSV (*.csv);;All Files (*)", "csv");
    if (!choice.accepted)
        return;
    const std::string text =
        m_curves.empty() ? DiscriminationCsv(m_pairs) : IdentificationCsv(m_curves);
    const std::string problem = WriteOutputFile(choice.path, text);
    if (!problem.empty())
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
}
