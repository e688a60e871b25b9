#include "listening/LiveListener.h"

#include <algorithm>

CLiveListener::CLiveListener(CLiveFormants::FrameSink sink)
    : m_sink(std::move(sink)),
      m_input([this](const float* samples, size_t count) { Receive(samples, count); }) {}

CLiveListener::~CLiveListener() {
    Stop();
}

CLiveInput::Result CLiveListener::Start() {
    Stop();
    m_pAnalysis = std::make_unique<CLiveFormants>(CLiveInput::kRate);
    m_take.Clear();
    m_queue.clear();
    m_bEnding = m_bDrain = false;
    const CLiveInput::Result result = m_input.Start();
    if (result == CLiveInput::Result::Recording)
        m_analysis = std::thread([this] { Analyse(); });
    return result;
}

void CLiveListener::Stop() {
    m_input.Stop();
    StopAnalysis(false);
}

void CLiveListener::Finish() {
    m_input.Stop();
    StopAnalysis(true);
}

void CLiveListener::StopAnalysis(bool drain) {
    if (!m_analysis.joinable())
        return;
    {
        std::lock_guard lock(m_queueLock);
        m_bEnding = true;
        m_bDrain = drain;
    }
    m_queued.notify_one();
    m_analysis.join();
}

// On the recording's thread: queues the sound.
void CLiveListener::Receive(const float* samples, size_t count) {
    std::vector<float> silence;
    if (m_bPaused) {
        silence.assign(count, 0.0f);
        samples = silence.data();
    }
    {
        std::lock_guard lock(m_queueLock);
        m_queue.insert(m_queue.end(), samples, samples + count);
    }
    m_queued.notify_one();
}

// The analysis's thread.
void CLiveListener::Analyse() {
    std::vector<float> pending;
    for (;;) {
        {
            std::unique_lock lock(m_queueLock);
            m_queued.wait(lock, [this] { return m_bEnding || !m_queue.empty(); });
            if (m_bEnding && (!m_bDrain || m_queue.empty()))
                return;
            pending.swap(m_queue);
            m_queue.clear();
        }
        // The take keeps the sound as it is analysed, a step at a time, so that its frames
        // and its samples stay together however far the analysis has fallen behind the
        // recording (a long backlog would otherwise pass through the take's memory before
        // its frames are known).
        const size_t step = CLiveInput::kRate / 100;
        for (size_t at = 0; at < pending.size(); at += step) {
            const size_t count = std::min(step, pending.size() - at);
            m_take.AddSamples(pending.data() + at, count);
            m_pAnalysis->Push(pending.data() + at, count, [this](const LiveFrame& frame) {
                if (frame.formants.voiced)
                    m_take.AddVoicedFrame(frame.formants.timeS);
                m_sink(frame);
            });
        }
    }
}

Report CLiveListener::KeepLastTake(const std::string& folder, std::string& path,
                                   std::time_t when) const {
    return WriteTake(m_take.LastTake(), m_take.SampleRate(), folder, when, path);
}
