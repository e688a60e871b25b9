// Sound from the sound server's default input (the microphone), as it is recorded.
#pragma once

#include "audio/SoundServerLink.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// Records the sound server's default input as mono float samples at kRate, the formant
// analysis's own rate, in pieces of 5 ms, handed to the receiver on the connection's own
// thread as they come. The connection follows the sound player's rules: no wait for the
// server lasts more than CSoundServerLink::kAnswerTimeoutMs, and an input that stops
// delivering for kSilenceMs counts as failed.
class CLiveInput {
public:
    static constexpr int kRate = 12000;
    static constexpr int kSilenceMs = 3000;
    enum class Result { Recording, NoServer, NotAnswering, NoSource, Refused };
    using Receiver = std::function<void(const float* samples, size_t count)>;

    explicit CLiveInput(Receiver receiver);
    ~CLiveInput();
    CLiveInput(const CLiveInput&) = delete;
    CLiveInput& operator=(const CLiveInput&) = delete;

    // Starts recording; waits for the server at most a few seconds.
    Result Start();
    void Stop();
    bool IsRecording() const { return m_pStream != nullptr; }
    // True once the recording that was started has broken off (the server failed, went
    // away or stopped delivering sound).
    bool HasFailed() const;

private:
    struct Stream;
    CSoundServerLink m_link; // first in, last out: the stream lives on its connection
    Receiver m_receiver;
    std::unique_ptr<Stream> m_pStream;
};

// What the window and the command line say when recording could not start or broke off:
// "No microphone found: ...".
std::string NoMicrophoneMessage(CLiveInput::Result result);
