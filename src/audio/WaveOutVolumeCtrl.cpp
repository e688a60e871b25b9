#include "audio/WaveOutVolumeCtrl.h"

#include "audio/SoundServerLink.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <alsa/asoundlib.h>
#include <poll.h>

namespace {

// The control whose mixer changes reach its callback: the last one opened.
CWaveOutVolumeCtrl* s_pNotifyTarget = nullptr;

// ALSA prints its errors to stderr by default; this control reports nothing.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

snd_mixer_elem_t* FindElement(snd_mixer_t* mixer, const char* name) {
    snd_mixer_selem_id_t* id;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    return snd_mixer_find_selem(mixer, id);
}

} // namespace

CWaveOutVolumeCtrl::CWaveOutVolumeCtrl() {
    m_bOpen = Open();
    if (!m_bOpen)
        return;
    s_pNotifyTarget = this;
    if (!FindLine()) {
        Close();
        s_pNotifyTarget = nullptr;
        return;
    }
    m_nLastVolume = ReadVolume();
    WatchMixer();
}

CWaveOutVolumeCtrl::~CWaveOutVolumeCtrl() {
    m_notifiers.clear();
    if (m_bOpen)
        Close();
    if (s_pNotifyTarget == this)
        s_pNotifyTarget = nullptr;
}

bool CWaveOutVolumeCtrl::Open() {
    using Link = CSoundServerLink;
    auto server = std::make_unique<Link>();
    const Link::State state = server->Ping(Link::DeadlineIn(Link::kAnswerTimeoutMs));
    if (state == Link::State::NotAnswering)
        return false;
    snd_lib_error_set_handler(&QuietAlsaErrors);
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return false;
    if (snd_mixer_attach(mixer, "default") < 0 ||
        snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 || snd_mixer_load(mixer) < 0) {
        snd_mixer_close(mixer);
        return false;
    }
    m_hMixer = mixer;
    // Without a sound server "default" is a sound card of its own: there is nobody to ask.
    if (state == Link::State::Connected)
        m_pServer = std::move(server);
    return true;
}

bool CWaveOutVolumeCtrl::FindLine() {
    if (!m_hMixer)
        return false;
    snd_mixer_elem_t* line = FindElement(m_hMixer, "PCM");
    if (!line || !snd_mixer_selem_has_playback_volume(line))
        line = FindElement(m_hMixer, "Master");
    if (!line)
        return false;
    long minimum = 0;
    long maximum = 0;
    if (snd_mixer_selem_has_playback_volume(line) &&
        snd_mixer_selem_get_playback_volume_range(line, &minimum, &maximum) == 0 && minimum >= 0 &&
        maximum >= minimum) {
        m_bHasVolume = true;
        m_dwMinimum = static_cast<unsigned>(minimum);
        m_dwMaximum = static_cast<unsigned>(maximum);
        m_dwSteps = m_dwMaximum - m_dwMinimum;
    }
    m_pLine = line;
    snd_mixer_elem_set_callback(line, &ElementCallback);
    snd_mixer_elem_set_callback_private(line, this);
    m_bLineFound = true;
    return true;
}

// True unless the sound server behind the mixer has stopped answering; then the mixer is
// closed before the plugin can wait for it.
bool CWaveOutVolumeCtrl::ServerAnswers() {
    if (!m_pServer)
        return true;
    using Link = CSoundServerLink;
    if (m_pServer->Ping(Link::DeadlineIn(Link::kAnswerTimeoutMs)) == Link::State::Connected)
        return true;
    Close();
    return false;
}

void CWaveOutVolumeCtrl::Close() {
    // Close may run inside a notifier's own signal: let the event loop delete them.
    for (auto& notifier : m_notifiers) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
    m_notifiers.clear();
    if (m_hMixer)
        snd_mixer_close(m_hMixer);
    m_hMixer = nullptr;
    m_pLine = nullptr;
    m_bLineFound = false;
    m_bHasVolume = false;
    m_bOpen = false;
    m_pServer.reset();
}

bool CWaveOutVolumeCtrl::IsAvailable() {
    return m_bHasVolume;
}

void CWaveOutVolumeCtrl::Activate() {
    if (m_bLineFound && !m_bActivationRecorded) {
        m_bActivationRecorded = true;
        m_bMutedAtActivation = IsMuted();
        m_nVolumeAtActivation = GetVolume();
    }
    Switch(true);
}

void CWaveOutVolumeCtrl::Deactivate() {
    Switch(false);
}

void CWaveOutVolumeCtrl::Switch(bool on) {
    if (!m_bLineFound || !snd_mixer_selem_has_playback_switch(m_pLine) || !ServerAnswers())
        return;
    snd_mixer_selem_set_playback_switch_all(m_pLine, on ? 1 : 0);
}

int CWaveOutVolumeCtrl::GetSteps() {
    return m_bHasVolume ? static_cast<int>(m_dwSteps) : -1;
}

int CWaveOutVolumeCtrl::GetMinimum() {
    return m_bHasVolume ? static_cast<int>(m_dwMinimum) : -1;
}

int CWaveOutVolumeCtrl::GetMaximum() {
    return m_bHasVolume ? static_cast<int>(m_dwMaximum) : -1;
}

int CWaveOutVolumeCtrl::GetVolume() {
    RefreshIfPending();
    return ReadVolume();
}

int CWaveOutVolumeCtrl::ReadVolume() {
    if (!m_bHasVolume)
        return -1;
    long value = 0;
    if (snd_mixer_selem_get_playback_volume(m_pLine, SND_MIXER_SCHN_FRONT_LEFT, &value) < 0)
        return -1;
    return static_cast<int>(value);
}

void CWaveOutVolumeCtrl::SetVolume(unsigned value) {
    if (!m_bHasVolume || value < m_dwMinimum || value > m_dwMaximum || !ServerAnswers())
        return;
    snd_mixer_selem_set_playback_volume_all(m_pLine, static_cast<long>(value));
}

void CWaveOutVolumeCtrl::SetChangeCallback(VolumeChangeCallback callback, int user) {
    m_pfnCallback = callback;
    m_nCallbackUser = user;
}

bool CWaveOutVolumeCtrl::IsMuted() {
    if (!m_bLineFound || !snd_mixer_selem_has_playback_switch(m_pLine))
        return false;
    RefreshIfPending();
    if (!m_pLine)
        return false;
    int on = 1;
    if (snd_mixer_selem_get_playback_switch(m_pLine, SND_MIXER_SCHN_FRONT_LEFT, &on) < 0)
        return false;
    return on == 0;
}

void CWaveOutVolumeCtrl::RestoreInitialState() {
    if (!m_bActivationRecorded)
        return;
    if (m_nVolumeAtActivation >= 0)
        SetVolume(static_cast<unsigned>(m_nVolumeAtActivation));
    if (m_bMutedAtActivation)
        Deactivate();
}

namespace {

// The descriptors to poll for the mixer's change events (none when it has none).
std::vector<pollfd> PollDescriptors(snd_mixer_t* mixer) {
    const int count = snd_mixer_poll_descriptors_count(mixer);
    if (count <= 0)
        return {};
    std::vector<pollfd> fds(static_cast<size_t>(count));
    const int filled = snd_mixer_poll_descriptors(mixer, fds.data(), static_cast<unsigned>(count));
    fds.resize(static_cast<size_t>(std::max(filled, 0)));
    return fds;
}

} // namespace

// Watches the mixer's poll descriptors from the Qt event loop, when there is one.
void CWaveOutVolumeCtrl::WatchMixer() {
    if (!QCoreApplication::instance() || !QAbstractEventDispatcher::instance())
        return;
    for (const pollfd& fd : PollDescriptors(m_hMixer)) {
        if (!(fd.events & POLLIN))
            continue;
        auto notifier = std::make_unique<QSocketNotifier>(fd.fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated,
                         [this] { HandleMixerEvents(); });
        m_notifiers.push_back(std::move(notifier));
    }
}

void CWaveOutVolumeCtrl::HandleMixerEvents() {
    if (!m_hMixer || m_bHandlingEvents || !ServerAnswers())
        return;
    m_bHandlingEvents = true;
    const int result = snd_mixer_handle_events(m_hMixer);
    m_bHandlingEvents = false;
    // A mixer that fails has lost its sound server: the line is gone.
    if (result < 0)
        Close();
}

// Reads the changes the mixer has queued so that the getters see the line as it is now.
void CWaveOutVolumeCtrl::RefreshIfPending() {
    if (!m_hMixer || m_bHandlingEvents)
        return;
    std::vector<pollfd> fds = PollDescriptors(m_hMixer);
    if (fds.empty() || poll(fds.data(), static_cast<nfds_t>(fds.size()), 0) <= 0)
        return;
    unsigned short revents = 0;
    if (snd_mixer_poll_descriptors_revents(m_hMixer, fds.data(), static_cast<unsigned>(fds.size()),
                                           &revents) < 0)
        return;
    if (revents & POLLIN)
        HandleMixerEvents();
}

int CWaveOutVolumeCtrl::ElementCallback(snd_mixer_elem_t* elem, unsigned mask) {
    auto* self = static_cast<CWaveOutVolumeCtrl*>(snd_mixer_elem_get_callback_private(elem));
    if (self)
        self->OnElementChanged(mask);
    return 0;
}

void CWaveOutVolumeCtrl::OnElementChanged(unsigned mask) {
    if (mask == SND_CTL_EVENT_MASK_REMOVE) {
        // The line has gone (the sound server ended): nothing may touch it any more.
        m_pLine = nullptr;
        m_bLineFound = false;
        m_bHasVolume = false;
        return;
    }
    if (!(mask & SND_CTL_EVENT_MASK_VALUE))
        return;
    const int volume = ReadVolume();
    if (volume == -1 || volume == m_nLastVolume)
        return;
    m_nLastVolume = volume;
    if (s_pNotifyTarget == this && m_pfnCallback)
        m_pfnCallback(volume, m_nCallbackUser);
}
