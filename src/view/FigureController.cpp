#include "view/FigureController.h"

#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "base/Settings.h"
#include "chart/ChartState.h"
#include "chart/CommandIds.h"
#include "drawing/ChartFigure.h"
#include "drawing/DataFolders.h"
#include "reference/ReferenceSet.h"

#include <cmath>
#include <filesystem>

namespace {

// A tooltip names the reference vowel whose mean lies this close to the mouse, in pixels.
constexpr double kReferenceTipRadius = 14;

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

} // namespace

CFigureController::CFigureController(ChartState& state, const ChartLook& look)
    : m_state(state), m_look(look) {}

void CFigureController::ReadOptions() {
    m_state.Shown().SetReferenceSpread(ReadSetting(settings::kReferenceSpread) == 1);
    m_state.Shown().SetAxisLabels(ReadSetting(settings::kAxisLabels) == 1);
    // A stored choice that cannot be shown now is reported and kept, for the next start.
    const std::string reference = ReadSetting(settings::kReferenceVowels);
    if (!reference.empty())
        ShowReference(reference);
}

bool CFigureController::ShowReference(const std::string& choice) {
    ReferenceChoice loaded;
    const Report report = LoadReferenceChoice(choice, DataSearchFolders("reference"), loaded);
    ShowReport(report);
    if (!report.Ok())
        return false;
    m_state.Shown().SetReference(std::move(loaded));
    return true;
}

bool CFigureController::RunCommand(int id) {
    if (id >= ID_REFERENCE_FIRST && id <= ID_REFERENCE_LAST) {
        const size_t index = static_cast<size_t>(id - ID_REFERENCE_FIRST);
        if (index < ReferenceSets().size() && ShowReference(ReferenceSets()[index].key))
            WriteSetting(settings::kReferenceVowels, ReferenceSets()[index].key);
        return true;
    }
    switch (id) {
    case ID_REFERENCE_NONE:
        m_state.Shown().SetReference(std::nullopt);
        WriteSetting(settings::kReferenceVowels, std::string());
        return true;
    case ID_REFERENCE_LOAD:
        OnLoadReference();
        return true;
    case ID_REFERENCE_SPREAD:
        m_state.Shown().SetReferenceSpread(!m_state.Shown().ShowsReferenceSpread());
        WriteSetting(settings::kReferenceSpread, m_state.Shown().ShowsReferenceSpread() ? 1 : 0);
        return true;
    case ID_AXIS_LABELS:
        m_state.Shown().SetAxisLabels(!m_state.Shown().ShowsAxisLabels());
        WriteSetting(settings::kAxisLabels, m_state.Shown().ShowsAxisLabels() ? 1 : 0);
        return true;
    case ID_EXPORT_CHART:
        OnExportChart();
        return true;
    default:
        return false;
    }
}

// A table of the user's: the first group of it is drawn (all of it without a group column).
void CFigureController::OnLoadReference() {
    const ReferenceChoice* shown = m_state.Shown().Reference();
    const std::string folder =
        shown && shown->IsUserTable() ? FolderOf(shown->choice) : g_strVowDir;
    const FileChoice choice = GetFileDialogs().OpenFile(
        "Load Reference Vowels", folder, "Vowel tables (*.csv *.tsv *.txt);;All Files (*)");
    if (choice.accepted && ShowReference(choice.path))
        WriteSetting(settings::kReferenceVowels, choice.path);
}

// The chart as it is shown, to SVG, PDF or PNG by the name's extension.
void CFigureController::OnExportChart() {
    // Where the last chart went, as Export Sound does.
    const std::string stored = ReadSetting(settings::kChartExportFolder);
    const FileChoice choice = GetFileDialogs().SaveFile(
        "Export Chart", stored.empty() ? g_strVowDir : stored, "vowel-chart.svg",
        "SVG drawing (*.svg);;PDF document (*.pdf);;PNG picture (*.png)", "svg");
    if (!choice.accepted)
        return;
    const Report written = WriteChartFigure(choice.path, m_state, m_look);
    ShowReport(written);
    if (!written.Ok())
        return;
    std::error_code error;
    WriteSetting(settings::kChartExportFolder,
                 std::filesystem::absolute(choice.path, error).parent_path().string());
}

// The reference vowel under the mouse: its symbol, mean and study.
QString CFigureController::ReferenceTip(const QPoint& point) const {
    const ReferenceChoice* reference = m_state.Shown().Reference();
    if (!reference)
        return QString();
    const ReferenceVowel* vowel = m_state.Shown().ReferenceVowelNear(
        m_state.Scale(), point.x() - kChartLeft, point.y(), kReferenceTipRadius);
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
