// Tools > Test Results: the identification curves and boundaries of a responses file, per
// participant and pooled, and the discrimination of each pair; the figure exported as SVG,
// PDF or PNG and the estimates as CSV.
#pragma once

#include "experiment/TestResults.h"

#include <QDialog>

class QComboBox;
class QPlainTextEdit;
class CurvesView;

class TestResultsDialog : public QDialog {
    Q_OBJECT

public:
    explicit TestResultsDialog(QWidget* parent = nullptr);

    // Reads the file and shows its results; false (with the message shown) when refused.
    bool OpenResponses(const std::string& path);

private:
    void Open();
    void ExportFigure();
    void ExportEstimates();
    void ShowParticipant();

    std::string m_path;
    std::vector<LabelCurve> m_curves;
    std::vector<PairDiscrimination> m_pairs;
    QComboBox* m_participant;
    CurvesView* m_view;
    QPlainTextEdit* m_table;
};
