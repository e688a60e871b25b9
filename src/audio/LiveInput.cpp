#include "audio/LiveInput.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>

namespace {

// The server hands the sound over in pieces this long: half an analysis step, so that a
// frame waits at most 5 ms for the sound it needs once that has been recorded.
constexpr pa_usec_t kFragmentUs = 5000;

} // namespace

// The record stream; its callbacks run on the connection's thread with the link's lock held.
struct CLiveInput::Stream {
    CLiveInput* input = nullptr;
    pa_stream* stream = nullptr;
    std::atomic<bool> failed{false};
    std::atomic<int64_t> lastSoundUs{0};

    static void OnState(pa_stream* stream, void* self) {
        auto* s = static_cast<Stream*>(self);
        s->input->m_link.Wake();
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
            s->failed = true;
    }

    static void OnRead(pa_stream* stream, size_t, void* self) {
        auto* s = static_cast<Stream*>(self);
        const void* data = nullptr;
        size_t bytes = 0;
        while (pa_stream_readable_size(stream) > 0) {
            if (pa_stream_peek(stream, &data, &bytes) < 0) {
                s->failed = true;
                return;
            }
            if (bytes == 0)
                break;
            s->lastSoundUs = ServerClockUs();
            const size_t count = bytes / sizeof(float);
            if (data) {
                s->input->m_receiver(static_cast<const float*>(data), count);
            } else {
                // A hole in the recording (the source was suspended): silence of its length.
                const std::vector<float> silence(count, 0.0f);
                s->input->m_receiver(silence.data(), count);
            }
            pa_stream_drop(stream);
        }
    }

    void Release() {
        if (!stream)
            return;
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        if (pa_stream_get_state(stream) == PA_STREAM_READY)
            pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
};

CLiveInput::CLiveInput(Receiver receiver) : m_receiver(std::move(receiver)) {}

CLiveInput::~CLiveInput() {
    Stop();
}

CLiveInput::Result CLiveInput::Start() {
    Stop();
    using Link = CSoundServerLink;
    const Link::State state = m_link.Connect(Link::DeadlineIn(Link::kAnswerTimeoutMs));
    if (state != Link::State::Connected)
        return state == Link::State::NotAnswering ? Result::NotAnswering : Result::NoServer;
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, kRate, 1};
    pa_channel_map channels;
    pa_channel_map_init_mono(&channels);
    auto stream = std::make_unique<Stream>();
    stream->input = this;
    stream->lastSoundUs = ServerClockUs();

    Link::Lock lock(m_link);
    pa_context* context = m_link.Context();
    stream->stream =
        context ? pa_stream_new(context, "Quirnel listening", &spec, &channels) : nullptr;
    if (!stream->stream)
        return Result::NoServer;
    Stream* self = stream.get();
    pa_stream_set_state_callback(self->stream, &Stream::OnState, self);
    pa_stream_set_read_callback(self->stream, &Stream::OnRead, self);
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = buffer.prebuf = buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(kFragmentUs, &spec));
    // Adjusting the latency makes the source itself deliver in pieces of fragsize.
    if (pa_stream_connect_record(self->stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY) < 0) {
        self->Release();
        return Result::Refused;
    }
    m_link.WaitUntil([self] { return pa_stream_get_state(self->stream) != PA_STREAM_CREATING; },
                     Link::DeadlineIn(Link::kAnswerTimeoutMs));
    const pa_stream_state_t streamState = pa_stream_get_state(self->stream);
    if (streamState != PA_STREAM_READY) {
        const int error = pa_context_errno(context);
        self->Release();
        if (streamState == PA_STREAM_CREATING) {
            m_link.Drop(); // the server did not answer; the next Start connects afresh
            return Result::NotAnswering;
        }
        return error == PA_ERR_NOENTITY ? Result::NoSource : Result::Refused;
    }
    self->failed = false;
    m_pStream = std::move(stream);
    return Result::Recording;
}

void CLiveInput::Stop() {
    if (!m_pStream)
        return;
    {
        CSoundServerLink::Lock lock(m_link);
        m_pStream->Release();
    }
    m_pStream.reset();
}

bool CLiveInput::HasFailed() const {
    return m_pStream && (m_pStream->failed ||
                         ServerClockUs() - m_pStream->lastSoundUs > int64_t(kSilenceMs) * 1000);
}

std::string NoMicrophoneMessage(CLiveInput::Result result) {
    switch (result) {
    case CLiveInput::Result::Recording:
        return "No microphone found: the recording broke off.";
    case CLiveInput::Result::NoServer:
        return "No microphone found: no sound server is running.";
    case CLiveInput::Result::NotAnswering:
        return "No microphone found: the sound server does not answer.";
    case CLiveInput::Result::NoSource:
        return "No microphone found: the sound server has no input to record from.";
    case CLiveInput::Result::Refused:
        return "No microphone found: the sound server refused to record.";
    }
    return {};
}
