// The volume and mute of the system's wave output line, on the ALSA mixer of "default".
#pragma once

#include "audio/VolumeCtrl.h"

#include <memory>
#include <vector>

struct _snd_mixer;
struct _snd_mixer_elem;
class CSoundServerLink;
class QSocketNotifier;

// Finds the wave output line of the "default" device's mixer: the playback element "PCM"
// when it has a playback volume, otherwise "Master" (with PulseAudio or PipeWire behind
// "default", "Master" is the sound server's output). Construction opens everything; any
// failure leaves the control unavailable (getters -1, setters do nothing) and reports
// nothing, not even on stderr. When the mixer fails later (the sound server went away),
// the control turns unavailable in the same way. Use it from one thread only.
//
// With a sound server behind "default", the server is asked first, with a deadline of a
// few seconds, before the mixer is opened and before every change of the line: ALSA's
// PulseAudio plugin waits 30 s for a server that does not answer, and then ends the
// program in an assertion. A server that does not answer in time leaves the control
// unavailable.
//
// Change notifications need a running Qt event loop: the control watches the mixer with
// QSocketNotifiers when it is constructed on a thread that has a QCoreApplication event
// dispatcher. Only the last control constructed successfully delivers them.
//
// Leaving the system as it was found: the first Activate records the line's volume and
// mute state. When the program ends, the view calls RestoreInitialState() (instead of a
// plain Deactivate): it sets the recorded volume again and mutes the line only when it
// was muted before the program started.
class CWaveOutVolumeCtrl final : public CVolumeCtrl {
public:
    CWaveOutVolumeCtrl();
    ~CWaveOutVolumeCtrl();
    CWaveOutVolumeCtrl(const CWaveOutVolumeCtrl&) = delete;
    CWaveOutVolumeCtrl& operator=(const CWaveOutVolumeCtrl&) = delete;

    bool IsAvailable() override;
    // Unmutes the line (turns its playback switch on).
    void Activate() override;
    // Mutes the line (turns its playback switch off).
    void Deactivate() override;
    int GetSteps() override;
    int GetMinimum() override;
    int GetMaximum() override;
    int GetVolume() override;
    // Sets every channel to value when value lies within GetMinimum..GetMaximum.
    void SetVolume(unsigned value) override;
    void SetChangeCallback(VolumeChangeCallback callback, int user) override;

    // True while the line is muted now; false without a line or a mute switch.
    bool IsMuted();
    // What the first Activate found: whether it was called at all, the mute state and
    // the volume (-1 without a volume control) before it unmuted the line.
    bool HasActivationState() const { return m_bActivationRecorded; }
    bool WasMutedAtActivation() const { return m_bMutedAtActivation; }
    int VolumeAtActivation() const { return m_nVolumeAtActivation; }
    // Puts the line back as the first Activate found it (see the class comment).
    void RestoreInitialState();

private:
    bool Open();
    bool ServerAnswers();
    bool FindLine();
    void Close();
    void Switch(bool on);
    void WatchMixer();
    void HandleMixerEvents();
    void RefreshIfPending();
    int ReadVolume();
    void OnElementChanged(unsigned mask);
    static int ElementCallback(_snd_mixer_elem* elem, unsigned mask);

    bool m_bOpen = false;
    bool m_bLineFound = false;
    bool m_bHasVolume = false;
    _snd_mixer* m_hMixer = nullptr;
    _snd_mixer_elem* m_pLine = nullptr;
    unsigned m_dwMinimum = 0xFFFFFFFF;
    unsigned m_dwMaximum = 0xFFFFFFFF;
    unsigned m_dwSteps = 0;
    VolumeChangeCallback m_pfnCallback = nullptr;
    int m_nCallbackUser = 0;
    int m_nLastVolume = -1;
    bool m_bHandlingEvents = false;
    std::vector<std::unique_ptr<QSocketNotifier>> m_notifiers;
    std::unique_ptr<CSoundServerLink> m_pServer; // the sound server behind "default", if any

    bool m_bActivationRecorded = false;
    bool m_bMutedAtActivation = false;
    int m_nVolumeAtActivation = -1;
};
