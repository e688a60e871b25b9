// The view's commands beside the chart's own vowels: the reference vowels, their spread, the
// axis labels and the chart exported as a figure; and the tooltip that names a reference
// vowel. Each choice is kept in the settings when the user makes it.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "drawing/ChartFigure.h"
#include "drawing/DataFolders.h"
#include "reference/ReferenceSet.h"

#include <QHelpEvent>
#include <QToolTip>

#include <cmath>
#include <filesystem>

namespace {

constexpr const char* kReferenceCaption = "Reference Vowels";
// A tooltip names the reference vowel whose mean lies this close to the mouse, in pixels.
constexpr double kReferenceTipRadius = 14;

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

} // namespace

void CTundrelView::ReadFigureOptions() {
    m_state.SetReferenceSpread(ReadSetting(settings::kReferenceSpread) == 1);
    m_state.SetAxisLabels(ReadSetting(settings::kAxisLabels) == 1);
    // The wave list is empty at start: its entries are measured as they come.
    m_state.SetShowRecordings(ReadSetting(settings::kRecordingsOnChart) == 1);
    m_state.SetRecordingTracks(ReadSetting(settings::kRecordingTracks) == 1);
    // A stored choice that cannot be shown now is reported and kept, for the next start.
    const std::string reference = ReadSetting(settings::kReferenceVowels);
    if (!reference.empty())
        ShowReference(reference);
}

bool CTundrelView::ShowReference(const std::string& choice) {
    ReferenceChoice loaded;
    std::string problem;
    if (!LoadReferenceChoice(choice, DataSearchFolders("reference"), loaded, problem)) {
        ShowMessage(problem, kReferenceCaption, MsgIcon::Warning);
        return false;
    }
    m_state.SetReference(std::move(loaded));
    return true;
}

bool CTundrelView::RunFigureCommand(int id) {
    if (id >= ID_REFERENCE_FIRST && id <= ID_REFERENCE_LAST) {
        const size_t index = static_cast<size_t>(id - ID_REFERENCE_FIRST);
        if (index < ReferenceSets().size() && ShowReference(ReferenceSets()[index].key))
            WriteSetting(settings::kReferenceVowels, ReferenceSets()[index].key);
        return true;
    }
    switch (id) {
    case ID_REFERENCE_NONE:
        m_state.SetReference(std::nullopt);
        WriteSetting(settings::kReferenceVowels, std::string());
        return true;
    case ID_REFERENCE_LOAD:
        OnLoadReference();
        return true;
    case ID_REFERENCE_SPREAD:
        m_state.SetReferenceSpread(!m_state.ShowsReferenceSpread());
        WriteSetting(settings::kReferenceSpread, m_state.ShowsReferenceSpread() ? 1 : 0);
        return true;
    case ID_AXIS_LABELS:
        m_state.SetAxisLabels(!m_state.ShowsAxisLabels());
        WriteSetting(settings::kAxisLabels, m_state.ShowsAxisLabels() ? 1 : 0);
        return true;
    case ID_EXPORT_CHART:
        OnExportChart();
        return true;
    default:
        return false;
    }
}

// A table of the user's: the first group of it is drawn (all of it without a group column).
void CTundrelView::OnLoadReference() {
    const ReferenceChoice* shown = m_state.Reference();
    const std::string folder =
        shown && shown->IsUserTable() ? FolderOf(shown->choice) : g_strVowDir;
    const FileChoice choice = GetFileDialogs().OpenFile(
        "Load Reference Vowels", folder, "Vowel tables (*.csv *.tsv *.txt);;All Files (*)");
    if (choice.accepted && ShowReference(choice.path))
        WriteSetting(settings::kReferenceVowels, choice.path);
}

// The chart as it is shown, to SVG, PDF or PNG by the name's extension.
void CTundrelView::OnExportChart() {
    // Where the last chart went, as Export Sound does.
    const std::string stored = ReadSetting(settings::kChartExportFolder);
    const FileChoice choice = GetFileDialogs().SaveFile(
        "Export Chart", stored.empty() ? g_strVowDir : stored, "vowel-chart.svg",
        "SVG drawing (*.svg);;PDF document (*.pdf);;PNG picture (*.png)", "svg");
    if (!choice.accepted)
        return;
    std::string problem;
    if (!WriteChartFigure(choice.path, m_state, m_look, problem)) {
        ShowMessage(problem, "Error", MsgIcon::Error);
        return;
    }
    std::error_code error;
    WriteSetting(settings::kChartExportFolder,
                 std::filesystem::absolute(choice.path, error).parent_path().string());
}

// The reference vowel under the mouse: its symbol, mean and study.
QString CTundrelView::ReferenceTip(const QPoint& point) const {
    const ReferenceChoice* reference = m_state.Reference();
    if (!reference)
        return QString();
    const ReferenceVowel* vowel =
        m_state.ReferenceVowelNear(point.x() - kChartLeft, point.y(), kReferenceTipRadius);
    if (!vowel)
        return QString();
    return QStringLiteral("%1   mean F1 %2 Hz, F2 %3 Hz (%4)\n%5\n%6")
        .arg(QString::fromStdString(vowel->symbol))
        .arg(std::lround(vowel->meanF1))
        .arg(std::lround(vowel->meanF2))
        .arg(vowel->f1.size() == 1 ? QStringLiteral("1 token")
                                   : QStringLiteral("%1 tokens").arg(vowel->f1.size()))
        .arg(QString::fromStdString(reference->label), QString::fromStdString(reference->citation));
}

bool CTundrelView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QString tip = RecordingTip(help->pos());
        if (tip.isEmpty())
            tip = ReferenceTip(help->pos());
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this);
            return true;
        }
    }
    return QWidget::event(event);
}
