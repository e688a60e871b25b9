#include "audio/QtSoundPlayer.h"

#include "audio/SoundFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace {

// How often the sink is topped up; well below the sound server's buffer time.
constexpr int kFeedIntervalMs = 10;

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

// How long the sound server may still be playing what it holds in the sink's buffer.
int64_t LatencyMs(const QAudioSink& sink, const QAudioFormat& format) {
    const int bytesPerSecond = format.bytesForDuration(1000000);
    if (bytesPerSecond <= 0)
        return 0;
    return static_cast<int64_t>(sink.bufferSize()) * 1000 / bytesPerSecond + 20;
}

} // namespace

CSoundPlayer::CSoundPlayer(QObject* parent) : QObject(parent) {
    m_feedTimer.setTimerType(Qt::PreciseTimer);
    m_endTimer.setSingleShot(true);
    connect(&m_feedTimer, &QTimer::timeout, this, &CSoundPlayer::Feed);
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
    if (!StartSink(sound)) {
        m_lastResult = PlayResult::NoOutput;
        return;
    }
    m_lastResult = PlayResult::Started;
    TakeSound(sound);
    m_clock.start();
    Feed();
    if (m_pSink && m_nWritten < m_data.size())
        m_feedTimer.start(kFeedIntervalMs);
}

// Opens a sink on the default output in the sound's own format; false without one.
bool CSoundPlayer::StartSink(const DecodedSound& sound) {
    const QAudioDevice device = DefaultOutput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    m_pSink = new QAudioSink(device, format, this);
    m_pOutput = m_pSink->start();
    if (!m_pOutput || m_pSink->error() != QAudio::NoError) {
        ReleaseSink();
        return false;
    }
    connect(m_pSink, &QAudioSink::stateChanged, this, &CSoundPlayer::OnSinkStateChanged);
    m_nFrameBytes = format.bytesPerFrame();
    m_nLatencyMs = LatencyMs(*m_pSink, format);
    return true;
}

// Keeps the samples to feed. The server starts a stream only once its buffer has filled,
// so a sound shorter than that is followed by silence to be heard at all.
void CSoundPlayer::TakeSound(const DecodedSound& sound) {
    m_data = QByteArray(reinterpret_cast<const char*>(sound.samples.data()),
                        static_cast<qsizetype>(sound.samples.size() * sizeof(int16_t)));
    qsizetype minimum = m_pSink->bufferSize() + m_nFrameBytes;
    minimum += (m_nFrameBytes - minimum % m_nFrameBytes) % m_nFrameBytes;
    if (m_data.size() < minimum)
        m_data.append(minimum - m_data.size(), '\0');
    m_nWritten = 0;
    m_nDurationMs = sound.DurationMs();
}

void CSoundPlayer::Stop() {
    m_feedTimer.stop();
    m_endTimer.stop();
    ReleaseSink();
}

bool CSoundPlayer::IsPlaying() const {
    return m_pSink != nullptr;
}

// Writes as much of the sound as the sink has room for, in whole frames. Once all of it is
// written, the sound ends when the server has played what it still holds.
void CSoundPlayer::Feed() {
    if (!m_pSink)
        return;
    while (m_nWritten < m_data.size()) {
        qsizetype room = std::min<qsizetype>(m_pSink->bytesFree(), m_data.size() - m_nWritten);
        room -= room % m_nFrameBytes;
        if (room <= 0)
            break;
        const qint64 written = m_pOutput->write(m_data.constData() + m_nWritten, room);
        if (written <= 0)
            break;
        m_nWritten += written;
    }
    if (m_nWritten < m_data.size() || m_endTimer.isActive())
        return;
    m_feedTimer.stop();
    const int64_t remaining =
        std::max<int64_t>(m_nDurationMs + 20 - m_clock.elapsed(), m_nLatencyMs);
    m_endTimer.start(static_cast<int>(remaining));
}

// A sink that stops by itself has lost the sound server.
void CSoundPlayer::OnSinkStateChanged() {
    if (m_pSink && m_pSink->state() == QAudio::StoppedState &&
        m_pSink->error() != QAudio::NoError) {
        m_lastResult = PlayResult::BrokenOff;
        Stop();
        emit Finished();
    }
}

void CSoundPlayer::OnFinished() {
    ReleaseSink();
    emit Finished();
}

void CSoundPlayer::ReleaseSink() {
    m_pOutput = nullptr;
    m_data.clear();
    if (!m_pSink)
        return;
    QAudioSink* sink = m_pSink;
    m_pSink = nullptr;
    sink->disconnect(this);
    sink->stop();
    sink->deleteLater();
}
