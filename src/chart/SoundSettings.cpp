#include "chart/SoundSettings.h"

#include "chart/PlayDecision.h"
#include "scales/FrequencyScales.h"

#include <algorithm>

void SoundSettings::SetF3(int hz) {
    m_f3Step = std::clamp(hz / 100, kF3StepMin, kF3StepMax);
    m_shownF3 = hz;
}

void SoundSettings::MoveF3Slider(int step) {
    m_f3Step = std::clamp(step, kF3StepMin, kF3StepMax);
    m_shownF3 = 100 * m_f3Step;
}

void SoundSettings::SetDuration(int duration) {
    // Computed in the wider type: a length read from a document is not range-checked.
    const long long step = kLengthStepMax + 1LL - duration;
    m_lengthStep = static_cast<int>(std::clamp<long long>(step, kLengthStepMin, kLengthStepMax));
    m_shownDuration = duration;
}

void SoundSettings::MoveLengthSlider(int step) {
    m_lengthStep = std::clamp(step, kLengthStepMin, kLengthStepMax);
    m_shownDuration = Duration();
}

void SoundSettings::EnterDuration(int duration) {
    m_lastDuration = duration;
    SetDuration(duration);
}

void SoundSettings::ToggleAutoF3() {
    m_autoF3 = !m_autoF3;
    m_changes.Redraw();
}

int SoundSettings::F3For(int f1, int f2) const {
    return m_autoF3 ? AutomaticF3(f1, f2) : 100 * m_f3Step;
}

int SoundSettings::UpdateF3(int f1, int f2) {
    if (!m_autoF3)
        return 100 * m_f3Step;
    const int f3 = AutomaticF3(f1, f2);
    SetF3(f3);
    return f3;
}

bool SoundSettings::ChooseVoice(int index) {
    if (!m_voiceFiles || index < 0 || static_cast<size_t>(index) >= m_voiceFiles->size())
        return false;
    m_voiceIndex = index;
    // A name in the voice folder, or the whole path of a voice of the user's own folder.
    const std::string& entry = (*m_voiceFiles)[static_cast<size_t>(index)];
    m_voiceFile = !entry.empty() && entry.front() == '/' ? entry : m_dataDir + "/" + entry;
    m_changes.Redraw();
    return true;
}
