// The program's sound player: whole files decoded at once, played through Qt Multimedia.
#pragma once

#include "audio/SoundPlayer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>

class QAudioSink;
struct DecodedSound;
class QIODevice;

// Plays sound files asynchronously on the default audio output (the sound server). Play
// decodes the whole file before it returns, so the file may be overwritten while it still
// sounds. A missing or undecodable file, or no sound output at all, plays nothing and
// shows nothing; LastResult() tells which.
//
// Needs a QCoreApplication (or QApplication) in the process and a running event loop on
// the thread that owns the player: the sound is fed and its end is noticed there.
class CSoundPlayer : public QObject, public ISoundPlayer {
    Q_OBJECT

public:
    // BrokenOff: the sound server failed while the sound was playing.
    enum class PlayResult { None, Started, NotDecoded, NoOutput, BrokenOff };

    explicit CSoundPlayer(QObject* parent = nullptr);
    ~CSoundPlayer() override;

    void Play(const std::string& path) override;
    void Stop() override;
    // True from a successful Play until the sound has ended or was stopped.
    bool IsPlaying() const override;
    // How the last Play went (BrokenOff replaces Started when the server failed).
    PlayResult LastResult() const { return m_lastResult; }

signals:
    // The sound started by the last Play has been heard to its end, or the sound server
    // broke it off (not sent after Stop or when a new Play cuts it off).
    void Finished();

private:
    bool StartSink(const DecodedSound& sound);
    void TakeSound(const DecodedSound& sound);
    void Feed();
    void OnSinkStateChanged();
    void OnFinished();
    void ReleaseSink();

    QAudioSink* m_pSink = nullptr;
    QIODevice* m_pOutput = nullptr; // the sink's input, written to as it has room
    QByteArray m_data;              // the whole decoded sound
    qsizetype m_nWritten = 0;
    int m_nFrameBytes = 0;
    QTimer m_feedTimer;
    QTimer m_endTimer;
    QElapsedTimer m_clock;
    int64_t m_nDurationMs = 0;
    int64_t m_nLatencyMs = 0;
    PlayResult m_lastResult = PlayResult::None;
};
