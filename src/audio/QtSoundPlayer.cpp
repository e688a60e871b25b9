#include "audio/QtSoundPlayer.h"

#include "audio/SoundFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

namespace {

// How long after the last sample was handed over the sound server may still be playing.
int64_t LatencyMs(const QAudioSink& sink, const QAudioFormat& format) {
    const int bytesPerSecond = format.bytesForDuration(1000000);
    if (bytesPerSecond <= 0)
        return 0;
    return static_cast<int64_t>(sink.bufferSize()) * 1000 / bytesPerSecond + 20;
}

// Qt Multimedia warns on stderr when it finds no sound server; the player fails quietly.
QtMessageHandler s_previousHandler = nullptr;

void DropSoundServerWarnings(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (message.startsWith(QLatin1String("PulseAudioService")))
        return;
    if (s_previousHandler)
        s_previousHandler(type, context, message);
}

QAudioDevice DefaultOutput() {
    s_previousHandler = qInstallMessageHandler(&DropSoundServerWarnings);
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(s_previousHandler);
    return device;
}

} // namespace

CSoundPlayer::CSoundPlayer(QObject* parent) : QObject(parent) {
    m_endTimer.setSingleShot(true);
    connect(&m_endTimer, &QTimer::timeout, this, &CSoundPlayer::OnFinished);
}

CSoundPlayer::~CSoundPlayer() {
    ReleaseSink();
}

void CSoundPlayer::Play(const std::string& path) {
    Stop();
    DecodedSound sound;
    if (!DecodeSoundFile(path, sound)) {
        m_lastResult = PlayResult::NotDecoded;
        return;
    }
    const QAudioDevice device = DefaultOutput();
    if (device.isNull()) {
        m_lastResult = PlayResult::NoOutput;
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(QAudioFormat::Int16);

    m_pSink = new QAudioSink(device, format, this);
    auto* buffer = new QBuffer(m_pSink);
    buffer->setData(reinterpret_cast<const char*>(sound.samples.data()),
                    static_cast<qsizetype>(sound.samples.size() * sizeof(int16_t)));
    buffer->open(QIODevice::ReadOnly);
    connect(m_pSink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::IdleState)
            OnSinkIdle();
    });
    m_pSink->start(buffer);
    if (m_pSink->error() != QAudio::NoError || m_pSink->state() == QAudio::StoppedState) {
        ReleaseSink();
        m_lastResult = PlayResult::NoOutput;
        return;
    }
    m_nDurationMs = sound.DurationMs() + LatencyMs(*m_pSink, format);
    m_clock.start();
    m_lastResult = PlayResult::Started;
}

void CSoundPlayer::Stop() {
    m_endTimer.stop();
    ReleaseSink();
}

bool CSoundPlayer::IsPlaying() const {
    return m_pSink != nullptr;
}

// Every sample has been handed to the sound server; it ends once the server has played
// what it still holds.
void CSoundPlayer::OnSinkIdle() {
    if (m_endTimer.isActive())
        return;
    const int64_t remaining = m_nDurationMs - m_clock.elapsed();
    m_endTimer.start(static_cast<int>(remaining > 0 ? remaining : 0));
}

void CSoundPlayer::OnFinished() {
    ReleaseSink();
    emit Finished();
}

void CSoundPlayer::ReleaseSink() {
    if (!m_pSink)
        return;
    QAudioSink* sink = m_pSink;
    m_pSink = nullptr;
    sink->disconnect(this);
    sink->stop();
    sink->deleteLater();
}
