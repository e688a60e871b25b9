// Plays sounds through another player, and sequences of sound files one after another.
#pragma once

#include "audio/ISoundPlayer.h"

#include <QObject>
#include <QTimer>

#include <string>
#include <vector>

// Passes every sound on to its output player, and plays a sequence of files in order: each
// file once the one before it has ended and a pause has passed. Any other sound (Play) and
// Stop end a sequence, as a new sound cuts the old one off. Needs a running event loop.
class CSequencePlayer : public QObject, public ISoundPlayer {
    Q_OBJECT

public:
    // The output is borrowed.
    explicit CSequencePlayer(ISoundPlayer* output, QObject* parent = nullptr);

    void Play(const std::string& path) override;
    void Stop() override;
    bool IsPlaying() const override;

    // Plays the files in order with gapMs of silence between them; a sequence that plays
    // ends first.
    void PlaySequence(const std::vector<std::string>& files, int gapMs);
    bool IsPlayingSequence() const { return !m_files.empty(); }

signals:
    // The step-th file (from 1) of steps has started.
    void stepStarted(int step, int steps);
    // The sequence has ended: played through, or cut off by another sound or Stop.
    void sequenceEnded();

private:
    void PlayNextStep();
    void CheckStepEnded();
    void EndSequence();

    ISoundPlayer* m_output;
    std::vector<std::string> m_files;
    size_t m_next = 0;
    QTimer m_stepEnd; // looks whether the step has ended
    QTimer m_gap;     // the pause after it
};
