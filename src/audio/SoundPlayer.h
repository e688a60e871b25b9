// The program's sound player: whole files decoded at once, played through the sound server
// with a small buffer that the server's own requests keep filled.
#pragma once

#include "audio/ISoundPlayer.h"
#include "audio/SoundServerLink.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>

struct DecodedSound;
struct pa_sample_spec;

// Plays sound files asynchronously on the sound server's default output. Play decodes the
// whole file before it returns, so the file may be overwritten while it still sounds. A
// missing or undecodable file, or no sound output at all, plays nothing and shows
// nothing; LastResult() tells which.
//
// The stream asks the server for a buffer of 25 ms (what `pactl list sink-inputs` shows
// as "Buffer Latency"), so a sound is heard at once and a new Play or Stop cuts the old
// one off at once. The buffer is topped up on the connection's own thread whenever the
// server asks for more, straight from the decoded sound in memory, so a busy event loop
// cannot starve it. A sound shorter than the buffer starts when all of it has been
// handed over.
//
// The connection to the server is made when the player is constructed, so the first Play
// is as quick as later ones. No wait for the server lasts more than a few seconds: a
// server that does not answer gives NoOutput, and one that stops answering while a sound
// plays gives BrokenOff.
//
// Needs a QCoreApplication (or QApplication) in the process and a running event loop on
// the thread that owns the player: the end of a sound is reported there.
// The lowest sample rate played. The end of every sound is followed by silence that pushes
// the server's resampler out (a fixed number of frames, see SoundPlayer.cpp); below this
// rate that silence alone would last for seconds.
constexpr int kLowestPlayableRate = 1000;

class CSoundPlayer : public QObject, public ISoundPlayer {
    Q_OBJECT

public:
    // BrokenOff: the sound server failed, or stopped answering, while the sound played.
    enum class PlayResult { None, Started, NotDecoded, NoOutput, BrokenOff };

    explicit CSoundPlayer(QObject* parent = nullptr);
    ~CSoundPlayer() override;

    void Play(const std::string& path) override;
    void Stop() override;
    // True from a successful Play until the sound has ended or was stopped.
    bool IsPlaying() const override;
    // How the last Play went (BrokenOff replaces Started when the server failed).
    PlayResult LastResult() const { return m_lastResult; }

    // Figures of the sound that is playing (the benchmarks and `play --verbose` show
    // them). The buffer the server granted the stream, in microseconds; -1 without one.
    int64_t GrantedBufferUs();
    // Asks the server how much sound the stream's buffer holds now, as `pactl list
    // sink-inputs` shows it ("Buffer Latency"), in microseconds; -1 when nothing plays
    // or the server does not answer in time.
    int64_t MeasureBufferLatencyUs();
    // From the call of Play until the server took the sound's first samples, in
    // microseconds; -1 until then. Kept after the sound has ended, until the next Play.
    int64_t FirstSampleDelayUs() const;
    // How often the stream ran dry before all of the sound was handed over (kept too).
    int Underruns() const;

signals:
    // The sound started by the last Play has been heard to its end, or the sound server
    // broke it off (not sent after Stop or when a new Play cuts it off).
    void Finished();

private:
    struct Playback;

    bool StartStream(DecodedSound&& sound, const pa_sample_spec& spec, int64_t playStartUs);
    void OnDrained(uint64_t generation, int64_t tailUs);
    void OnBroken(uint64_t generation, int64_t);
    void CheckServerAnswers();
    void OnEnded();
    void ReleasePlayback();

    CSoundServerLink m_link; // first in, last out: the streams live on its connection
    std::unique_ptr<Playback> m_pPlayback;
    uint64_t m_nGeneration = 0;
    QTimer m_endTimer;   // the tail still in the server after the stream has drained
    QTimer m_watchTimer; // notices a server that stops answering while a sound plays
    PlayResult m_lastResult = PlayResult::None;
    int64_t m_nFirstSampleUs = -1; // the figures of the last sound, once it has ended
    int m_nUnderruns = 0;
};
