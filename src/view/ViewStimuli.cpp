// The view's stimulus commands: the sound heard saved as a file, vowel continua made and
// played, and the point moved to typed formants. Rendering, resampling, continua and
// writing are the stimuli library's; the view asks, hands it the chart's vowel and shows
// the outcome.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "doc/VowelInventory.h"
#include "stimuli/SoundExport.h"
#include "view/BusyCursor.h"
#include "view/ContinuumForm.h"
#include "view/FormantsForm.h"
#include "view/InputDialog.h"
#include "view/InputPrompt.h"
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

bool CTundrelView::DoStimulusCommand(int id) {
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
    case ID_GO_TO_FORMANTS:
        OnGoToFormants();
        break;
    default:
        return false;
    }
    return true;
}

CommandState CTundrelView::StimulusCommandState(int id) const {
    CommandState state;
    state.handled = true;
    switch (id) {
    case ID_EXPORT_SOUND: {
        const std::optional<ChartVowel> vowel = m_state.VowelToPlay();
        state.enabled = vowel && !vowel->voiceFile.empty();
        break;
    }
    case ID_MAKE_CONTINUUM:
        state.enabled = !m_state.VoiceFile().empty();
        break;
    case ID_PLAY_CONTINUUM:
        state.enabled = !m_continuumFiles.empty();
        state.text = IsPlayingContinuum() ? "&Stop Continuum" : "&Play Continuum";
        break;
    case ID_GO_TO_FORMANTS:
        break;
    default:
        state.handled = false;
        break;
    }
    return state;
}

bool CTundrelView::IsPlayingContinuum() const {
    return m_pSequence && m_pSequence->IsPlayingSequence();
}

void CTundrelView::FollowContinuumPlay() {
    if (!m_pSequence)
        return;
    connect(m_pSequence, &CSequencePlayer::stepStarted, this, [this](int step, int steps) {
        const std::string& file = m_continuumFiles.at(static_cast<size_t>(step - 1));
        ShowNotice(QStringLiteral("Continuum step %1 of %2: %3")
                       .arg(step)
                       .arg(steps)
                       .arg(FileNameOf(file)));
    });
    connect(m_pSequence, &CSequencePlayer::sequenceEnded, this, [this] {
        ShowNotice(QString());
        emit commandStatesChanged();
    });
}

void CTundrelView::ShowNotice(const QString& text) {
    m_strNotice = text;
    emit statusTextChanged((m_strNotice.isEmpty() ? m_strStatus : m_strNotice) + LiveStatusText());
}

// --- Export Sound ------------------------------------------------------------------------

void CTundrelView::OnExportSound() {
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
    ShowNotice(QStringLiteral("Exported %1%2").arg(FileNameOf(choice.path), ScaledText(applied)));
}

// --- Make Continuum and Play Continuum ---------------------------------------------------

void CTundrelView::OnMakeContinuum() {
    if (m_state.VoiceFile().empty())
        return;
    // F3 as the chart takes it: the slider's for the chart's own points, each vowel's stored
    // one; in automatic mode none, so that each step takes the automatic F3 of its F1 and F2.
    const bool autoF3 = m_state.IsAutoF3();
    const int chartF3 = autoF3 ? 0 : 100 * m_state.F3Step();
    const ChartScale scale = m_state.Scale();
    std::vector<ContinuumPoint> starts;
    std::vector<ContinuumPoint> ends;
    if (m_state.HasPoint()) {
        const ChartPoint point = m_state.SelectedPoint();
        const int f1 = XToFrequency(scale, point.x);
        const int f2 = YToFrequency(scale, point.y);
        starts.push_back({"The point " + FormantsText(f1, f2), {f1, f2, chartF3}});
    }
    if (m_state.DiphthongPoint().x > 0) {
        const ChartPoint end = m_state.DiphthongPoint();
        const int f1 = XToFrequency(scale, end.x);
        const int f2 = YToFrequency(scale, end.y);
        ends.push_back({"The diphthong's end point " + FormantsText(f1, f2), {f1, f2, chartF3}});
    }
    for (size_t row = 0; row < m_state.Rows().size(); ++row) {
        const StoredFormants stored = m_state.RowFormants(static_cast<int>(row));
        const ContinuumPoint vowel{std::string(SymbolToUtf8(m_state.Rows()[row].symbol)) + "  " +
                                       FormantsText(stored.f1, stored.f2),
                                   {stored.f1, stored.f2, autoF3 ? 0 : stored.f3}};
        starts.push_back(vowel);
        ends.push_back(vowel);
    }
    ContinuumRequest request = m_continuum;
    request.voiceFile = m_state.VoiceFile();
    request.frameMs = m_state.Duration();
    request.tiltDb = m_state.Gender() == 1 ? 0 : m_state.FemaleTilt();
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
void CTundrelView::WriteContinuumFiles(const ContinuumRequest& asked) {
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
    IInputPrompt& prompt = GetInputPrompt();
    // No busy cursor: the progress bar shows the work, and its Cancel button must look
    // clickable.
    prompt.ShowProgress(kContinuumTitle, 0, request.steps);
    const ContinuumResult result = WriteContinuum(request, [&prompt](int written, int steps) {
        return prompt.ShowProgress(kContinuumTitle, written, steps);
    });
    prompt.EndProgress();
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
        ShowNotice(QStringLiteral("Continuum written: %1 steps and %2 in %3%4")
                       .arg(result.written)
                       .arg(manifest, QString::fromStdString(request.folder), scaled));
        break;
    }
    case ContinuumOutcome::Cancelled:
        ShowNotice(QStringLiteral("Continuum cancelled: nothing written"));
        break;
    default:
        ShowMessage(result.message, kContinuumTitle, MsgIcon::Error);
        break;
    }
    emit commandStatesChanged();
}

void CTundrelView::OnPlayContinuum() {
    if (IsPlayingContinuum()) {
        m_pPlayer->Stop();
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
    m_pSequence->PlaySequence(m_continuumFiles, m_nContinuumGapMs);
}

// --- Go to Formants ----------------------------------------------------------------------

void CTundrelView::OnGoToFormants() {
    const ChartScale scale = m_state.Scale();
    const FrequencyRange f1Range = F1Range(scale);
    const FrequencyRange f2Range = F2Range(scale);
    InputForm form = GoToFormantsForm(m_state.HasPoint() ? m_state.F1() : 0,
                                      m_state.HasPoint() ? m_state.F2() : 0, m_state.ShownF3(),
                                      m_state.IsAutoF3());
    form.check = [&](const InputForm& entered) {
        TypedFormants typed;
        return ReadGoToFormants(entered, f1Range, f2Range, typed);
    };
    if (!GetInputPrompt().AskForm(form))
        return;
    TypedFormants typed;
    ReadGoToFormants(form, f1Range, f2Range, typed);
    InvalidateMarker();
    if (typed.f3.has_value() == m_state.IsAutoF3())
        m_state.ToggleAutoF3();
    if (typed.f3)
        m_state.SetF3(*typed.f3);
    m_state.GoTo({NearestX(scale, typed.f1), NearestY(scale, typed.f2)});
    InvalidateMarker();
}
