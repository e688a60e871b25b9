#include "view/StimulusController.h"

#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "chart/ChartState.h"
#include "doc/VowelInventory.h"
#include "stimuli/SoundExport.h"
#include "view/BusyCursor.h"
#include "view/ContinuumForm.h"
#include "view/InputDialog.h"
#include "view/InputPrompt.h"
#include "view/LongTask.h"
#include "view/SequencePlayer.h"
#include "view/SoundFormatFields.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr const char* kExportTitle = "Export Sound";
constexpr const char* kContinuumTitle = "Make Continuum";
constexpr int kLongestContinuumGapMs = 5000;

VowelStimulus StimulusOf(const ChartVowel& vowel) {
    VowelStimulus stimulus;
    stimulus.voiceFile = vowel.voiceFile;
    stimulus.tiltDb = vowel.tilt;
    stimulus.frameMs = vowel.duration;
    stimulus.f1 = vowel.f1;
    stimulus.f2 = vowel.f2;
    stimulus.f3 = vowel.f3;
    stimulus.f1End = vowel.f1End;
    stimulus.f2End = vowel.f2End;
    return stimulus;
}

// "vowel-700-1200", or "vowel-700-1200-to-300-2200" for a diphthong.
std::string ProposedSoundName(const ChartVowel& vowel) {
    std::string name = "vowel-" + std::to_string(vowel.f1) + "-" + std::to_string(vowel.f2);
    if (vowel.f1End > 0)
        name += "-to-" + std::to_string(vowel.f1End) + "-" + std::to_string(vowel.f2End);
    return name + ".wav";
}

// Where sounds and continua are proposed: where the last one went, else the documents'.
std::string StimulusFolder() {
    const std::string folder = ReadSetting(settings::kStimulusFolder);
    return folder.empty() ? g_strVowDir : folder;
}

std::string FolderOfFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::absolute(path, error).parent_path().string();
}

std::string FormantsText(int f1, int f2) {
    return "(F1 " + std::to_string(f1) + " Hz, F2 " + std::to_string(f2) + " Hz)";
}

// What the status bar adds when a sound was not written at the vowel's own level.
QString ScaledText(const AppliedLevel& level) {
    if (std::abs(level.gainDb) < 0.005)
        return QString();
    return QStringLiteral(", scaled by %1 dB to an RMS of %2 dB")
        .arg(level.gainDb, 0, 'f', 2)
        .arg(level.rmsDbfs, 0, 'f', 2);
}

QString FileNameOf(const std::string& path) {
    return QString::fromStdString(std::filesystem::path(path).filename().string());
}

} // namespace

CStimulusController::CStimulusController(ChartState& state, CSequencePlayer* sequence,
                                         QObject* parent)
    : QObject(parent), m_state(state), m_pSequence(sequence) {
    FollowContinuumPlay();
}

bool CStimulusController::RunCommand(int id) {
    switch (id) {
    case ID_EXPORT_SOUND:
        OnExportSound();
        break;
    case ID_MAKE_CONTINUUM:
        OnMakeContinuum();
        break;
    case ID_PLAY_CONTINUUM:
        OnPlayContinuum();
        break;
    default:
        return false;
    }
    return true;
}

CommandState CStimulusController::CommandStateOf(int id) const {
    CommandState state;
    state.handled = true;
    switch (id) {
    case ID_EXPORT_SOUND: {
        const std::optional<ChartVowel> vowel = m_state.VowelToPlay();
        state.enabled = vowel && !vowel->voiceFile.empty();
        break;
    }
    case ID_MAKE_CONTINUUM:
        state.enabled = !m_state.Sound().VoiceFile().empty();
        break;
    case ID_PLAY_CONTINUUM:
        state.enabled = !m_continuumFiles.empty();
        state.text = IsPlayingContinuum() ? "&Stop Continuum" : "&Play Continuum";
        break;
    default:
        state.handled = false;
        break;
    }
    return state;
}

bool CStimulusController::IsPlayingContinuum() const {
    return m_pSequence && m_pSequence->IsPlayingSequence();
}

void CStimulusController::FollowContinuumPlay() {
    if (!m_pSequence)
        return;
    connect(m_pSequence, &CSequencePlayer::stepStarted, this, [this](int step, int steps) {
        // Named from the files that play: a continuum made meanwhile may have fewer steps.
        const size_t index = static_cast<size_t>(step - 1);
        const std::string file = index < m_playingFiles.size() ? m_playingFiles[index] : "";
        emit noticeChanged(QStringLiteral("Continuum step %1 of %2: %3")
                               .arg(step)
                               .arg(steps)
                               .arg(FileNameOf(file)));
    });
    connect(m_pSequence, &CSequencePlayer::sequenceEnded, this, [this] {
        emit noticeChanged(QString());
        emit commandStatesChanged();
    });
}

// --- Export Sound ------------------------------------------------------------------------

void CStimulusController::OnExportSound() {
    const std::optional<ChartVowel> vowel = m_state.VowelToPlay();
    if (!vowel || vowel->voiceFile.empty())
        return;
    const FileChoice choice =
        GetFileDialogs().SaveFile(kExportTitle, StimulusFolder(), ProposedSoundName(*vowel),
                                  "WAV sound (*.wav);;FLAC sound (*.flac)", "wav");
    if (!choice.accepted)
        return;
    const SoundFileType type = SoundFileTypeOf(choice.path);
    if (type == SoundFileType::Unknown) {
        ShowMessage("The file name must end in .wav or .flac.", kExportTitle, MsgIcon::Warning);
        return;
    }
    InputForm form;
    form.title = kExportTitle;
    AddSoundFormatFields(form, StoredSoundFormat(), StoredSoundLevel(), type);
    form.check = [type](const InputForm& entered) {
        SoundLevel level;
        if (std::string problem = SoundLevelOfFields(entered, 0, level); !problem.empty())
            return problem;
        return CheckSoundFormat(SoundFormatOfFields(entered, 0), type);
    };
    if (!GetInputPrompt().AskForm(form))
        return;
    const SoundFormat format = SoundFormatOfFields(form, 0);
    SoundLevel level = StoredSoundLevel();
    SoundLevelOfFields(form, 0, level);
    StoreSoundFormat(format);
    StoreSoundLevel(level);
    WriteSetting(settings::kStimulusFolder, FolderOfFile(choice.path));
    ExportResult result;
    AppliedLevel applied;
    {
        const BusyCursor busy;
        result = ExportVowel(StimulusOf(*vowel), format, choice.path, level, &applied);
    }
    if (result.failure != ExportFailure::None) {
        ShowMessage(result.message, kExportTitle, MsgIcon::Error);
        return;
    }
    emit noticeChanged(
        QStringLiteral("Exported %1%2").arg(FileNameOf(choice.path), ScaledText(applied)));
}

// --- Make Continuum and Play Continuum ---------------------------------------------------

void CStimulusController::OnMakeContinuum() {
    if (m_state.Sound().VoiceFile().empty())
        return;
    // F3 as the chart takes it: the slider's for the chart's own points, each vowel's stored
    // one; in automatic mode none, so that each step takes the automatic F3 of its F1 and F2.
    const bool autoF3 = m_state.Sound().IsAutoF3();
    const int chartF3 = autoF3 ? 0 : 100 * m_state.Sound().F3Step();
    const ChartScale scale = m_state.Scale();
    std::vector<ContinuumPoint> starts;
    std::vector<ContinuumPoint> ends;
    if (m_state.Selection().HasPoint()) {
        const ChartPoint point = m_state.Selection().SelectedPoint();
        const int f1 = XToFrequency(scale, point.x);
        const int f2 = YToFrequency(scale, point.y);
        starts.push_back({"The point " + FormantsText(f1, f2), {f1, f2, chartF3}});
    }
    if (m_state.Selection().DiphthongPoint().x > 0) {
        const ChartPoint end = m_state.Selection().DiphthongPoint();
        const int f1 = XToFrequency(scale, end.x);
        const int f2 = YToFrequency(scale, end.y);
        ends.push_back({"The diphthong's end point " + FormantsText(f1, f2), {f1, f2, chartF3}});
    }
    for (size_t row = 0; row < m_state.List().Rows().size(); ++row) {
        const StoredFormants stored = m_state.List().RowFormants(static_cast<int>(row));
        const ContinuumPoint vowel{std::string(SymbolToUtf8(m_state.List().Rows()[row].symbol)) +
                                       "  " + FormantsText(stored.f1, stored.f2),
                                   {stored.f1, stored.f2, autoF3 ? 0 : stored.f3}};
        starts.push_back(vowel);
        ends.push_back(vowel);
    }
    ContinuumRequest request = m_continuum;
    request.voiceFile = m_state.Sound().VoiceFile();
    request.frameMs = m_state.Sound().Duration();
    request.tiltDb =
        m_state.List().VoiceGender() == Gender::Male ? 0 : m_state.Sound().FemaleTilt();
    request.folder = StimulusFolder();
    request.format = StoredSoundFormat();
    request.level = StoredSoundLevel();
    request.replaceExisting = false;
    InputForm form = ContinuumForm(starts, ends, request, m_nTypedF1, m_nTypedF2);
    form.check = [&](const InputForm& entered) {
        ContinuumRequest read = request;
        return ReadContinuumForm(entered, starts, ends, chartF3, read);
    };
    if (!GetInputPrompt().AskForm(form))
        return;
    ReadContinuumForm(form, starts, ends, chartF3, request);
    if (form.fields[kContinuumTo].chosen == 0) {
        m_nTypedF1 = request.to.f1;
        m_nTypedF2 = request.to.f2;
    }
    m_continuum = request;
    StoreSoundFormat(request.format);
    StoreSoundLevel(request.level);
    WriteSetting(settings::kStimulusFolder, request.folder);
    WriteContinuumFiles(request);
}

// Asks before files of the continuum are replaced, writes it with a progress bar and keeps
// the steps written for Play Continuum.
void CStimulusController::WriteContinuumFiles(const ContinuumRequest& asked) {
    ContinuumRequest request = asked;
    bool existing = false;
    std::string problem = CheckContinuumFiles(request, existing);
    if (existing) {
        if (ShowMessage(problem + "\nReplace them?", kContinuumTitle, MsgIcon::Question,
                        MsgButtons::YesNo) != MsgAnswer::Yes)
            return;
        request.replaceExisting = true;
        problem = CheckContinuumFiles(request, existing);
    }
    if (!problem.empty()) {
        ShowMessage(problem, kContinuumTitle, MsgIcon::Warning);
        return;
    }
    // No busy cursor: the progress bar shows the work, and its Cancel button must look
    // clickable.
    ContinuumResult result;
    RunWithProgress(kContinuumTitle, request.steps, [&](const TaskProgress& progress) {
        // The continuum renders with an engine of its own, so the chart plays on meanwhile.
        result = WriteContinuum(request,
                                [&](int written, int steps) { return progress(written, steps); });
    });
    if (result.outcome == ContinuumOutcome::Written) {
        m_continuumFiles.clear();
        for (int step = 1; step <= result.written; ++step)
            m_continuumFiles.push_back(request.folder + "/" +
                                       ContinuumFileName(request.prefix, step, request.steps));
    }
    const QString manifest = QString::fromStdString(ContinuumManifestName(request.prefix));
    switch (result.outcome) {
    case ContinuumOutcome::Written: {
        // Natural levels share one gain; the other levels differ by step.
        QString scaled;
        if (!result.levels.empty()) {
            const auto [least, most] = std::minmax_element(
                result.levels.begin(), result.levels.end(),
                [](const AppliedLevel& a, const AppliedLevel& b) { return a.gainDb < b.gainDb; });
            if (std::abs(most->gainDb - least->gainDb) < 0.005 && std::abs(least->gainDb) >= 0.005)
                scaled = QStringLiteral(", all scaled by %1 dB").arg(least->gainDb, 0, 'f', 2);
            else if (std::abs(most->gainDb - least->gainDb) >= 0.005)
                scaled = QStringLiteral(", scaled by %1 to %2 dB (see the manifest)")
                             .arg(least->gainDb, 0, 'f', 2)
                             .arg(most->gainDb, 0, 'f', 2);
        }
        emit noticeChanged(QStringLiteral("Continuum written: %1 steps and %2 in %3%4")
                               .arg(result.written)
                               .arg(manifest, QString::fromStdString(request.folder), scaled));
        break;
    }
    case ContinuumOutcome::Cancelled:
        emit noticeChanged(QStringLiteral("Continuum cancelled: nothing written"));
        break;
    default:
        ShowMessage(result.message, kContinuumTitle, MsgIcon::Error);
        break;
    }
    emit commandStatesChanged();
}

void CStimulusController::OnPlayContinuum() {
    if (IsPlayingContinuum()) {
        m_pSequence->Stop();
        return;
    }
    if (m_continuumFiles.empty() || !m_pSequence)
        return;
    std::string text;
    for (;;) {
        if (!GetInputPrompt().AskText("Pause between the steps in ms (0 - 5000)",
                                      std::to_string(m_nContinuumGapMs), text))
            return;
        unsigned long long gap = 0;
        if (ReadFormWholeNumber(text, gap) && gap <= kLongestContinuumGapMs) {
            m_nContinuumGapMs = static_cast<int>(gap);
            break;
        }
        ShowMessage("The pause must be a whole number from 0 to 5000 ms.", "Play Continuum",
                    MsgIcon::Warning);
    }
    m_playingFiles = m_continuumFiles;
    m_pSequence->PlaySequence(m_playingFiles, m_nContinuumGapMs);
}
