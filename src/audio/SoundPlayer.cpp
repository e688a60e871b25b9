#include "audio/SoundPlayer.h"

#include "audio/RealtimeThread.h"
#include "audio/SoundFile.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/stream.h>

#include <algorithm>
#include <atomic>

namespace {

// The stream's buffer in the server ("Buffer Latency") and how much of it the server
// asks for at a time: the server asks again when 5 ms have been played, and the client
// then has 20 ms to answer before the stream runs dry.
constexpr pa_usec_t kBufferUs = 25000;
constexpr pa_usec_t kRequestUs = 5000;
// A playing stream hears from the server every few milliseconds, and at least every
// 1.5 s (timing updates) while it waits: this long without a word, the server is gone.
constexpr int64_t kSilenceUs = 3000000;
// Once the stream has drained, the sound still has the server's own latency to go.
constexpr int64_t kTailMarginUs = 20000;
constexpr int kWatchIntervalMs = 250;
// The server's resampler holds back the last few samples of a stream (half its filter,
// 128 samples for the best speex quality) until more samples push them out: this much
// silence after each sound makes sure all of the sound is heard. It is counted in frames of
// the sound, not in time: a sound at a low rate is resampled up, and the filter then holds
// back that many frames of the sound itself (at 10 kHz 12.8 ms, at kLowestPlayableRate
// 128 ms), so a pad of a few milliseconds would cut off its end.
constexpr size_t kFlushFrames = 256;

} // namespace

// One sound on its way to the server. The stream's callbacks run on the connection's
// thread with the link's lock held; everything else touches the stream with the lock held
// too. Events for the player are posted to its own thread, tagged with the generation so
// that those of a stopped sound are ignored.
struct CSoundPlayer::Playback {
    CSoundPlayer* player = nullptr;
    uint64_t generation = 0;
    pa_stream* stream = nullptr;
    pa_operation* pending = nullptr; // the drain, then the question for the sink's latency
    std::vector<int16_t> samples;
    size_t bytes = 0;
    size_t written = 0;
    bool draining = false;
    int64_t playStartUs = 0;
    std::atomic<int64_t> lastAnswerUs{0};
    std::atomic<int64_t> firstSampleUs{-1};
    std::atomic<int> underruns{0};

    void Heard() { lastAnswerUs = ServerClockUs(); }

    static void OnState(pa_stream* stream, void* self) {
        auto* playback = static_cast<Playback*>(self);
        playback->player->m_link.Wake();
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
            playback->Post(&CSoundPlayer::OnBroken, 0);
    }

    static void OnWrite(pa_stream* stream, size_t room, void* self) {
        auto* playback = static_cast<Playback*>(self);
        playback->Heard();
        const size_t count = std::min(room, playback->bytes - playback->written);
        if (count > 0 && pa_stream_write(stream,
                                         reinterpret_cast<const char*>(playback->samples.data()) +
                                             playback->written,
                                         count, nullptr, 0, PA_SEEK_RELATIVE) == 0)
            playback->written += count;
        // Draining also starts a sound that is shorter than the buffer.
        if (playback->written == playback->bytes && !playback->draining) {
            playback->draining = true;
            playback->pending = pa_stream_drain(stream, &Playback::OnDrain, playback);
            if (!playback->pending)
                playback->Post(&CSoundPlayer::OnBroken, 0);
        }
    }

    // The server has taken all of the sound into the sink, which holds it for the sink's
    // own latency before it is heard (and drops what it holds when the stream goes). That
    // latency is asked for afresh: the last timing update may be older than a short sound.
    static void OnDrain(pa_stream* stream, int, void* self) {
        auto* playback = static_cast<Playback*>(self);
        playback->Heard();
        if (playback->pending)
            pa_operation_unref(playback->pending);
        playback->pending = pa_stream_update_timing_info(stream, &Playback::OnTail, playback);
        if (!playback->pending)
            playback->Post(&CSoundPlayer::OnDrained, 0);
    }

    static void OnTail(pa_stream* stream, int, void* self) {
        auto* playback = static_cast<Playback*>(self);
        playback->Heard();
        const pa_timing_info* timing = pa_stream_get_timing_info(stream);
        pa_usec_t latency = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &latency, &negative) != 0 || negative)
            latency = 0;
        if (timing)
            latency = std::max(latency, timing->sink_usec + timing->transport_usec);
        playback->Post(&CSoundPlayer::OnDrained, static_cast<int64_t>(latency));
    }

    static void OnStarted(pa_stream*, void* self) {
        auto* playback = static_cast<Playback*>(self);
        playback->Heard();
        int64_t unset = -1;
        playback->firstSampleUs.compare_exchange_strong(unset,
                                                        ServerClockUs() - playback->playStartUs);
    }

    static void OnUnderflow(pa_stream*, void* self) {
        auto* playback = static_cast<Playback*>(self);
        if (playback->written < playback->bytes)
            ++playback->underruns;
    }

    static void OnTimingUpdate(pa_stream*, void* self) { static_cast<Playback*>(self)->Heard(); }

    template <typename Handler> void Post(Handler handler, int64_t value) {
        CSoundPlayer* target = player;
        const uint64_t tag = generation;
        QMetaObject::invokeMethod(
            target, [target, handler, tag, value] { (target->*handler)(tag, value); },
            Qt::QueuedConnection);
    }

    // Lock held: stops the callbacks and lets the server drop the stream, which silences
    // what it still holds of the sound.
    void Release() {
        if (pending) {
            if (pa_operation_get_state(pending) == PA_OPERATION_RUNNING)
                pa_operation_cancel(pending);
            pa_operation_unref(pending);
            pending = nullptr;
        }
        if (!stream)
            return;
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_started_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_set_latency_update_callback(stream, nullptr, nullptr);
        if (pa_stream_get_state(stream) == PA_STREAM_READY)
            pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
};

CSoundPlayer::CSoundPlayer(QObject* parent) : QObject(parent) {
    m_endTimer.setSingleShot(true);
    connect(&m_endTimer, &QTimer::timeout, this, &CSoundPlayer::OnEnded);
    connect(&m_watchTimer, &QTimer::timeout, this, &CSoundPlayer::CheckServerAnswers);
    MakeThreadRealtime(m_link.ThreadId());
}

CSoundPlayer::~CSoundPlayer() {
    ReleasePlayback();
}

void CSoundPlayer::Play(const std::string& path) {
    const int64_t playStartUs = ServerClockUs();
    Stop();
    m_nFirstSampleUs = -1;
    m_nUnderruns = 0;
    // The server comes first: without one nothing is decoded (a long file would be read
    // for nothing).
    using Link = CSoundServerLink;
    if (m_link.Connect(Link::DeadlineIn(Link::kAnswerTimeoutMs)) != Link::State::Connected) {
        m_lastResult = PlayResult::NoOutput;
        return;
    }
    DecodedSound sound;
    if (!DecodeSoundFile(path, sound)) {
        m_lastResult = PlayResult::NotDecoded;
        return;
    }
    const pa_sample_spec spec{PA_SAMPLE_S16NE, static_cast<uint32_t>(sound.sampleRate),
                              static_cast<uint8_t>(sound.channels)};
    if (!pa_sample_spec_valid(&spec) || sound.sampleRate < kLowestPlayableRate) {
        m_lastResult = PlayResult::NotDecoded; // a format no sound server plays
        return;
    }
    if (!StartStream(std::move(sound), spec, playStartUs)) {
        m_lastResult = PlayResult::NoOutput;
        return;
    }
    m_lastResult = PlayResult::Started;
    m_watchTimer.start(kWatchIntervalMs);
}

// Creates the stream and waits (bounded) until the server has taken it; false when the
// server refuses it or does not answer.
bool CSoundPlayer::StartStream(DecodedSound&& sound, const pa_sample_spec& spec,
                               int64_t playStartUs) {
    auto playback = std::make_unique<Playback>();
    playback->player = this;
    playback->generation = ++m_nGeneration;
    playback->samples = std::move(sound.samples);
    playback->samples.resize(playback->samples.size() + kFlushFrames * sound.channels, 0);
    playback->bytes = playback->samples.size() * sizeof(int16_t);
    playback->playStartUs = playStartUs;
    playback->Heard();
    pa_channel_map channels;
    pa_channel_map_init_extend(&channels, spec.channels, PA_CHANNEL_MAP_DEFAULT);

    CSoundServerLink::Lock lock(m_link);
    pa_context* context = m_link.Context();
    playback->stream = context ? pa_stream_new(context, "Quirnel", &spec, &channels) : nullptr;
    if (!playback->stream)
        return false;
    Playback* self = playback.get();
    pa_stream_set_state_callback(self->stream, &Playback::OnState, self);
    pa_stream_set_write_callback(self->stream, &Playback::OnWrite, self);
    pa_stream_set_started_callback(self->stream, &Playback::OnStarted, self);
    pa_stream_set_underflow_callback(self->stream, &Playback::OnUnderflow, self);
    pa_stream_set_latency_update_callback(self->stream, &Playback::OnTimingUpdate, self);
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kBufferUs, &spec));
    buffer.prebuf = static_cast<uint32_t>(-1); // the whole buffer, or all of a shorter sound
    buffer.minreq = static_cast<uint32_t>(pa_usec_to_bytes(kRequestUs, &spec));
    buffer.fragsize = static_cast<uint32_t>(-1);
    if (pa_stream_connect_playback(self->stream, nullptr, &buffer, PA_STREAM_AUTO_TIMING_UPDATE,
                                   nullptr, nullptr) < 0) {
        self->Release();
        return false;
    }
    m_link.WaitUntil([self] { return pa_stream_get_state(self->stream) != PA_STREAM_CREATING; },
                     CSoundServerLink::DeadlineIn(CSoundServerLink::kAnswerTimeoutMs));
    const pa_stream_state_t state = pa_stream_get_state(self->stream);
    if (state != PA_STREAM_READY) {
        self->Release();
        if (state == PA_STREAM_CREATING)
            m_link.Drop(); // the server did not answer; the next Play connects afresh
        return false;
    }
    m_pPlayback = std::move(playback);
    return true;
}

void CSoundPlayer::Stop() {
    ReleasePlayback();
}

bool CSoundPlayer::IsPlaying() const {
    return m_pPlayback != nullptr;
}

void CSoundPlayer::ReleasePlayback() {
    m_endTimer.stop();
    m_watchTimer.stop();
    if (!m_pPlayback)
        return;
    {
        CSoundServerLink::Lock lock(m_link);
        m_pPlayback->Release();
    }
    m_nFirstSampleUs = m_pPlayback->firstSampleUs;
    m_nUnderruns = m_pPlayback->underruns;
    m_pPlayback.reset();
}

// All of the sound has left the stream; the server's own latency is still to be heard.
void CSoundPlayer::OnDrained(uint64_t generation, int64_t tailUs) {
    if (!m_pPlayback || generation != m_pPlayback->generation)
        return;
    m_watchTimer.stop();
    m_endTimer.start(static_cast<int>((std::min(tailUs, kSilenceUs) + kTailMarginUs) / 1000));
}

void CSoundPlayer::OnEnded() {
    ReleasePlayback();
    emit Finished();
}

void CSoundPlayer::OnBroken(uint64_t generation, int64_t) {
    if (!m_pPlayback || generation != m_pPlayback->generation)
        return;
    m_lastResult = PlayResult::BrokenOff;
    ReleasePlayback();
    {
        // The connection is of no use any more; the next Play connects afresh.
        CSoundServerLink::Lock lock(m_link);
        m_link.Drop();
    }
    emit Finished();
}

void CSoundPlayer::CheckServerAnswers() {
    if (m_pPlayback && ServerClockUs() - m_pPlayback->lastAnswerUs > kSilenceUs)
        OnBroken(m_pPlayback->generation, 0);
}

int64_t CSoundPlayer::GrantedBufferUs() {
    CSoundServerLink::Lock lock(m_link);
    if (!m_pPlayback)
        return -1;
    const pa_buffer_attr* buffer = pa_stream_get_buffer_attr(m_pPlayback->stream);
    const pa_sample_spec* spec = pa_stream_get_sample_spec(m_pPlayback->stream);
    if (!buffer || !spec)
        return -1;
    return static_cast<int64_t>(pa_bytes_to_usec(buffer->tlength, spec));
}

namespace {

struct BufferQuery {
    CSoundServerLink* link;
    bool answered = false;
    int64_t bufferUs = -1;
};

void OnSinkInputInfo(pa_context*, const pa_sink_input_info* info, int eol, void* userdata) {
    auto* query = static_cast<BufferQuery*>(userdata);
    if (info)
        query->bufferUs = static_cast<int64_t>(info->buffer_usec);
    if (eol != 0) {
        query->answered = true;
        query->link->Wake();
    }
}

} // namespace

int64_t CSoundPlayer::MeasureBufferLatencyUs() {
    CSoundServerLink::Lock lock(m_link);
    pa_context* context = m_link.Context();
    if (!m_pPlayback || !context)
        return -1;
    BufferQuery query{&m_link};
    pa_operation* operation = pa_context_get_sink_input_info(
        context, pa_stream_get_index(m_pPlayback->stream), &OnSinkInputInfo, &query);
    if (!operation)
        return -1;
    m_link.WaitUntil([&query] { return query.answered; },
                     CSoundServerLink::DeadlineIn(CSoundServerLink::kAnswerTimeoutMs));
    if (!query.answered)
        pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return query.answered ? query.bufferUs : -1;
}

int64_t CSoundPlayer::FirstSampleDelayUs() const {
    return m_pPlayback ? m_pPlayback->firstSampleUs.load() : m_nFirstSampleUs;
}

int CSoundPlayer::Underruns() const {
    return m_pPlayback ? m_pPlayback->underruns.load() : m_nUnderruns;
}
