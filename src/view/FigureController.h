// The chart view's commands beside the chart's own vowels: the reference vowels, their
// spread, the axis labels and the chart exported as a figure.
#pragma once

#include <QPoint>
#include <QString>

#include <string>

class ChartState;
struct ChartLook;

// Each choice goes into the chart's state and is kept in the settings when the user makes
// it; the view shows the state afterwards.
class CFigureController {
public:
    // Both are borrowed.
    CFigureController(ChartState& state, const ChartLook& look);

    // Takes the stored choices into the chart's state (at start-up).
    void ReadOptions();
    // Runs the reference, axis label and Export Chart commands; false for the others.
    bool RunCommand(int id);
    // The reference vowel under the mouse at a view point: its symbol, mean and study.
    QString ReferenceTip(const QPoint& point) const;

private:
    // Loads and shows a reference choice (ReferenceChoice.h); a failure is shown and
    // leaves the chart as it was.
    bool ShowReference(const std::string& choice);
    void OnLoadReference();
    void OnExportChart();

    ChartState& m_state;
    const ChartLook& m_look;
};
