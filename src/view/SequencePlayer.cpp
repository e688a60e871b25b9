#include "view/SequencePlayer.h"

#include <algorithm>

namespace {

// How often the end of a step is looked for.
constexpr int kStepEndPollMs = 10;

} // namespace

CSequencePlayer::CSequencePlayer(ISoundPlayer* output, QObject* parent)
    : QObject(parent), m_output(output) {
    m_stepEnd.setInterval(kStepEndPollMs);
    connect(&m_stepEnd, &QTimer::timeout, this, &CSequencePlayer::CheckStepEnded);
    m_gap.setSingleShot(true);
    connect(&m_gap, &QTimer::timeout, this, &CSequencePlayer::PlayNextStep);
}

void CSequencePlayer::Play(const std::string& path) {
    EndSequence();
    m_output->Play(path);
}

void CSequencePlayer::Stop() {
    EndSequence();
    m_output->Stop();
}

bool CSequencePlayer::IsPlaying() const {
    return m_output->IsPlaying();
}

void CSequencePlayer::PlaySequence(const std::vector<std::string>& files, int gapMs) {
    EndSequence();
    if (files.empty())
        return;
    m_files = files;
    m_next = 0;
    m_gap.setInterval(std::max(gapMs, 0));
    PlayNextStep();
}

void CSequencePlayer::PlayNextStep() {
    if (m_next >= m_files.size()) {
        EndSequence();
        return;
    }
    m_output->Play(m_files[m_next]);
    ++m_next;
    m_stepEnd.start();
    emit stepStarted(static_cast<int>(m_next), static_cast<int>(m_files.size()));
}

void CSequencePlayer::CheckStepEnded() {
    if (m_output->IsPlaying())
        return;
    m_stepEnd.stop();
    if (m_next >= m_files.size())
        EndSequence();
    else
        m_gap.start();
}

void CSequencePlayer::EndSequence() {
    if (m_files.empty())
        return;
    m_files.clear();
    m_next = 0;
    m_stepEnd.stop();
    m_gap.stop();
    emit sequenceEnded();
}
