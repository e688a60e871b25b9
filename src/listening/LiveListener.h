// Live listening: the microphone's sound analysed frame by frame as it comes, and its last
// take kept. Shared by the window's Tools > Listen and `quirnel-cli listen`.
#pragma once

#include "analysis/LiveFormants.h"
#include "audio/LiveInput.h"
#include "audio/LiveTake.h"

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Records the default input and gives each analysed frame to the sink, on the analysis's
// own thread (never the caller's), as soon as it is known. The recording's thread only
// queues the sound, so that an analysis that falls behind (a loaded machine) holds up
// neither the recording nor the sound server. While paused (one of the program's own
// sounds plays), the input counts as silence: it is neither analysed nor kept in the take,
// and the frames go on with the time.
class CLiveListener {
public:
    explicit CLiveListener(CLiveFormants::FrameSink sink);
    ~CLiveListener();
    CLiveListener(const CLiveListener&) = delete;
    CLiveListener& operator=(const CLiveListener&) = delete;

    CLiveInput::Result Start();
    // Stops recording and drops what has not been analysed yet.
    void Stop();
    // Stops recording and gives the frames of everything recorded before it returns.
    void Finish();
    bool IsListening() const { return m_input.IsRecording(); }
    bool HasFailed() const { return m_input.HasFailed(); }
    void SetPaused(bool paused) { m_bPaused = paused; }
    bool IsPaused() const { return m_bPaused; }

    // Writes the last take into folder as take-YYYYMMDD-HHMMSS.wav and gives its path, or
    // reports what went wrong (nothing voiced yet, a folder that cannot be written).
    Report KeepLastTake(const std::string& folder, std::string& path,
                        std::time_t when = std::time(nullptr)) const;
    int SampleRate() const { return CLiveInput::kRate; }

private:
    void Receive(const float* samples, size_t count);
    void Analyse();
    void StopAnalysis(bool drain);

    CLiveFormants::FrameSink m_sink;
    std::atomic<bool> m_bPaused{false};
    std::mutex m_queueLock;
    std::condition_variable m_queued;
    std::vector<float> m_queue; // recorded, not yet analysed
    bool m_bEnding = false;
    bool m_bDrain = false;
    std::thread m_analysis;
    std::unique_ptr<CLiveFormants> m_pAnalysis; // made afresh by each Start
    CTakeBuffer m_take{CLiveInput::kRate};
    CLiveInput m_input; // last in, first out: its thread calls Receive
};
