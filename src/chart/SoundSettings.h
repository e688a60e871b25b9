// How the chart's vowel sounds besides its formants: the F3 and length sliders, automatic
// F3, the voice file and the female voice's spectral tilt.
#pragma once

#include <string>
#include <vector>

class PlayDecision;

class SoundSettings {
public:
    // The length slider's positions 1..100 stand for durations 100..1 (top = 100).
    static constexpr int kLengthStepMin = 1;
    static constexpr int kLengthStepMax = 100;
    // The F3 slider's positions 13..34 stand for 1300..3400 Hz.
    static constexpr int kF3StepMin = 13;
    static constexpr int kF3StepMax = 34;
    // Where the F3 slider starts: 2700 Hz, the F3 a click plays until it is moved.
    static constexpr int kF3StartStep = 27;

    // Choosing a voice and switching automatic F3 redraw the chart and play it.
    explicit SoundSettings(PlayDecision& changes) : m_changes(changes) {}

    // --- The sliders ------------------------------------------------------------------------
    // The F3 slider's position and the value its label shows (which may lie beyond).
    int F3Step() const { return m_f3Step; }
    int ShownF3() const { return m_shownF3; }
    void SetF3(int hz);
    void MoveF3Slider(int step);
    // The length slider's position, its duration (101 - position) and its label.
    int LengthStep() const { return m_lengthStep; }
    int Duration() const { return kLengthStepMax + 1 - m_lengthStep; }
    int ShownDuration() const { return m_shownDuration; }
    void SetDuration(int duration);
    void MoveLengthSlider(int step);
    // The duration last played or entered in the duration dialog.
    int LastDuration() const { return m_lastDuration; }
    void SetLastDuration(int duration) { m_lastDuration = duration; }
    // The duration dialog's value: taken and shown on the slider.
    void EnterDuration(int duration);
    bool IsAutoF3() const { return m_autoF3; }
    void ToggleAutoF3();
    // The F3 that goes with F1 and F2: the slider's, or in automatic mode the one computed
    // from them.
    int F3For(int f1, int f2) const;
    // As F3For; in automatic mode the slider then shows it.
    int UpdateF3(int f1, int f2);

    // --- Voice ------------------------------------------------------------------------------
    // The voice file names (name and extension); voice i is entry i. Borrowed.
    void SetVoiceFiles(const std::vector<std::string>* names) { m_voiceFiles = names; }
    // The folder of the voices named without a path.
    void SetDataDir(const std::string& dataDir) { m_dataDir = dataDir; }
    // Voice index of the voice files; false (and no change) when there is none.
    bool ChooseVoice(int index);
    int VoiceIndex() const { return m_voiceIndex; }
    const std::string& VoiceFile() const { return m_voiceFile; }
    // dB above 3 kHz of the female voice; the male voice has none.
    int FemaleTilt() const { return m_femaleTilt; }
    void SetFemaleTilt(int tilt) { m_femaleTilt = tilt; }

private:
    PlayDecision& m_changes;
    const std::vector<std::string>* m_voiceFiles = nullptr;
    int m_f3Step = kF3StartStep;
    int m_shownF3 = 2700;
    int m_lengthStep = kLengthStepMin;
    int m_shownDuration = 100;
    int m_lastDuration = 100;
    bool m_autoF3 = false;
    int m_femaleTilt = 6;
    int m_voiceIndex = -1;
    std::string m_dataDir;
    std::string m_voiceFile;
};
