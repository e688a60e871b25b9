#include "voicing/VoicingGenerator.h"

#include "voicing/GlottalPulse.h"
#include "voicing/SpectralBalance.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr int kOversampling = 8; // the pulses are drawn at 80 kHz, then low-passed
constexpr double kPassbandEdgeHz = 4500;
constexpr int kFilterHalfLength = 240;

// Standard normal numbers from a seeded Mersenne Twister (Box-Muller), identical on every
// standard library.
class GaussianSource {
public:
    explicit GaussianSource(uint32_t seed) : m_engine(seed) {}
    double Next() {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare;
        }
        double u1 = Uniform();
        double u2 = Uniform();
        double radius = std::sqrt(-2 * std::log(u1));
        m_spare = radius * std::sin(2 * std::numbers::pi * u2);
        m_hasSpare = true;
        return radius * std::cos(2 * std::numbers::pi * u2);
    }
    // A normal number limited to +-3, so that no single cycle is implausibly far off.
    double NextLimited() { return std::clamp(Next(), -3.0, 3.0); }

private:
    double Uniform() { return (static_cast<double>(m_engine()) + 0.5) / 4294967296.0; }

    std::mt19937 m_engine;
    bool m_hasSpare = false;
    double m_spare = 0;
};

// The pulse's proportions: the opening and closing phases as fractions of the period, the
// return phase in seconds, so that its corner stays put whatever the pitch.
struct PulseProportions {
    double peakFlow;      // Tp / T
    double closure;       // Te / T
    double returnSeconds; // Ta
};

PulseProportions ProportionsOf(const VoiceProfile& profile) {
    const double te = profile.openQuotient;
    const double tp = te * profile.speedQuotient / (1 + profile.speedQuotient);
    return {tp, te, 1 / (2 * std::numbers::pi * profile.returnCornerHz)};
}

// For i.i.d. Gaussian values, mean |x(i) - x(i-1)| = 2 sigma / sqrt(pi); this turns a wanted
// local perturbation into the standard deviation to draw with.
double SigmaForLocalPerturbation(double local) {
    return local * std::sqrt(std::numbers::pi) / 2;
}

// The slowly moving pitch and loudness of the speaker over `seconds` of voicing.
class Intonation {
public:
    Intonation(const VoiceProfile& profile, double seconds, GaussianSource& random)
        : m_profile(profile), m_seconds(seconds), m_random(random) {}

    double F0(double t) const {
        double glide = 1;
        const double glideSeconds = m_profile.glideSeconds > 0 ? m_profile.glideSeconds : m_seconds;
        if (m_profile.f0End > 0 && glideSeconds > 0) {
            glide = std::pow(m_profile.f0End / m_profile.f0, std::min(t / glideSeconds, 1.0));
        }
        double melody =
            m_profile.driftDepth * std::sin(2 * std::numbers::pi * t / m_profile.driftSeconds);
        return m_profile.f0 * glide * std::exp(melody + m_wander);
    }
    double Loudness(double t) const {
        double swell = m_profile.loudnessDrift *
                       std::sin(2 * std::numbers::pi * t / (1.37 * m_profile.driftSeconds) + 1.0);
        double onset = 1;
        if (t < m_profile.onsetSeconds) {
            onset = 0.5 - 0.5 * std::cos(std::numbers::pi * t / m_profile.onsetSeconds);
        }
        return (1 + swell) * onset;
    }
    // Moves the random wander on by one period: an Ornstein-Uhlenbeck walk with a time
    // constant of about a second, so the pitch wanders but keeps to its mean, smoothed once
    // more so that it moves the pitch gently from period to period instead of adding to the
    // jitter.
    void Advance(double seconds) {
        constexpr double kWalkTime = 0.8;
        constexpr double kSmoothingTime = 0.2;
        // The smoothing takes a little of the walk's spread; this gives it back.
        const double spread = std::sqrt((kWalkTime + kSmoothingTime) / kWalkTime);
        double keep = std::exp(-seconds / kWalkTime);
        m_walk = m_walk * keep + spread * m_profile.wanderDepth * std::sqrt(1 - keep * keep) *
                                     m_random.NextLimited();
        double follow = 1 - std::exp(-seconds / kSmoothingTime);
        m_wander += follow * (m_walk - m_wander);
    }

private:
    const VoiceProfile& m_profile;
    double m_seconds;
    GaussianSource& m_random;
    double m_walk = 0;
    double m_wander = 0;
};

struct GlottalCycle {
    double opening = 0;
    GlottalPulse pulse;
};

// The drawn cycle values: closure instants, the period each cycle is shaped for (its
// jittered period, which is also the interval from the previous closure), and the
// strength of each closure.
struct DrawnCycles {
    std::vector<double> closures;
    std::vector<double> periods;
    std::vector<double> excitations;
};

// Draws closure instants that carry the jitter and strengths that carry the shimmer,
// following the slow intonation, until `seconds` are covered. The jitter moves each closure
// off an even clock that follows the intonation, rather than lengthening or shortening each
// period on its own, so a long period tends to be followed by a short one: for the same
// local jitter the periods stray less from their neighbours' mean, which keeps the vowels'
// harmonics cleaner.
DrawnCycles DrawClosures(const VoiceProfile& profile, double seconds,
                         const PulseProportions& shape) {
    GaussianSource random(profile.seed);
    Intonation intonation(profile, seconds, random);
    // With independent offsets e(i), T(i) - T(i-1) = e(i+1) - 2 e(i) + e(i-1) spreads
    // sqrt(6) times as wide as the offsets, where independent periods spread sqrt(2) times as
    // wide as themselves: for the same local jitter the offsets are sqrt(3) times narrower.
    double offsetSigma = SigmaForLocalPerturbation(profile.jitter) / std::sqrt(3.0);
    double shimmerSigma = SigmaForLocalPerturbation(profile.shimmer);
    DrawnCycles drawn;
    double clock = 0;
    while (drawn.closures.empty() || drawn.closures.back() < seconds + 0.05) {
        double nominal = 1 / intonation.F0(clock);
        double closure;
        double period;
        if (drawn.closures.empty()) {
            // The first cycle opens at time 0, so its closure comes after its own open phase.
            clock = shape.closure * nominal;
            closure = clock;
            period = nominal;
        } else {
            clock += nominal;
            closure = clock + offsetSigma * nominal * random.NextLimited();
            period = closure - drawn.closures.back();
        }
        drawn.closures.push_back(closure);
        drawn.periods.push_back(period);
        drawn.excitations.push_back(intonation.Loudness(closure) *
                                    (1 + shimmerSigma * random.NextLimited()));
        intonation.Advance(nominal);
    }
    return drawn;
}

// One pulse per cycle: cycle k opens at closure(k) - Te(k) and lasts until the next cycle
// opens, so consecutive pulses join without a gap and the closure-to-closure intervals are
// exactly the drawn ones. Empty when a pulse cannot be shaped.
std::vector<GlottalCycle> ShapeCycles(const DrawnCycles& drawn, const PulseProportions& shape) {
    std::vector<GlottalCycle> cycles(drawn.closures.size() - 1);
    for (size_t k = 0; k < cycles.size(); ++k) {
        double period = drawn.periods[k];
        cycles[k].opening = drawn.closures[k] - shape.closure * period;
        double nextOpening = drawn.closures[k + 1] - shape.closure * drawn.periods[k + 1];
        GlottalTiming timing{nextOpening - cycles[k].opening, shape.peakFlow * period,
                             shape.closure * period, shape.returnSeconds};
        if (!cycles[k].pulse.Shape(timing, drawn.excitations[k])) {
            return {};
        }
    }
    return cycles;
}

// Blackman-windowed sinc low-pass at the oversampled rate with unit gain at 0 Hz.
std::vector<double> AntiAliasingFilter() {
    double cutoff = 2 * kPassbandEdgeHz / (kVoiceSampleRate * kOversampling);
    int length = 2 * kFilterHalfLength + 1;
    std::vector<double> taps(length);
    double sum = 0;
    for (int i = 0; i < length; ++i) {
        int j = i - kFilterHalfLength;
        double x = std::numbers::pi * cutoff * j;
        double sinc = j == 0 ? 1 : std::sin(x) / x;
        double phase = 2 * std::numbers::pi * i / (length - 1);
        double window = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2 * phase);
        taps[i] = sinc * window;
        sum += taps[i];
    }
    for (double& tap : taps) {
        tap /= sum;
    }
    return taps;
}

// The flow derivative of all cycles at the oversampled rate, with pulsed aspiration noise
// during each open phase. Each value is the change of the flow over its sampling interval
// divided by the interval, the derivative averaged over the interval, so that the sharp
// return phase is not aliased by point sampling.
std::vector<double> RenderOversampled(const VoiceProfile& profile,
                                      const std::vector<GlottalCycle>& cycles, size_t length) {
    GaussianSource noise(profile.seed ^ 0x9e3779b9u);
    const double step = 1.0 / (kVoiceSampleRate * kOversampling);
    std::vector<double> wave(length, 0.0);
    size_t k = 0;
    double flowBefore = 0; // flow at the end of the previous interval, in its own cycle
    for (size_t m = 0; m < length; ++m) {
        double t = static_cast<double>(m + 1) * step;
        while (k + 1 < cycles.size() && t >= cycles[k + 1].opening) {
            // Reckon the flow from the new cycle's opening on; the previous cycle has ended
            // with its net flow, which is zero up to rounding.
            flowBefore -= cycles[k].pulse.Flow(cycles[k + 1].opening - cycles[k].opening);
            ++k;
        }
        const GlottalPulse& pulse = cycles[k].pulse;
        double local = t - cycles[k].opening;
        double flow = pulse.Flow(local);
        wave[m] = (flow - flowBefore) / step;
        flowBefore = flow;
        if (local < pulse.Timing().closure) {
            wave[m] += profile.breath * pulse.Excitation() * noise.Next();
        }
    }
    return wave;
}

// Low-passes the oversampled wave and keeps every kOversampling-th value.
std::vector<double> Decimate(const std::vector<double>& wave, int sampleCount) {
    std::vector<double> taps = AntiAliasingFilter();
    std::vector<double> samples(sampleCount);
    for (int n = 0; n < sampleCount; ++n) {
        long centre = static_cast<long>(n) * kOversampling;
        double sum = 0;
        for (int i = 0; i < static_cast<int>(taps.size()); ++i) {
            long m = centre + kFilterHalfLength - i;
            if (m >= 0) {
                sum += taps[i] * wave[m];
            }
        }
        samples[n] = sum;
    }
    return samples;
}

} // namespace

VoicingTrack GenerateVoicing(const VoiceProfile& profile, int sampleCount) {
    VoicingTrack track;
    if (sampleCount <= 0) {
        return track;
    }
    PulseProportions shape = ProportionsOf(profile);
    DrawnCycles drawn =
        DrawClosures(profile, static_cast<double>(sampleCount) / kVoiceSampleRate, shape);
    std::vector<GlottalCycle> cycles = ShapeCycles(drawn, shape);
    if (cycles.empty()) {
        return track; // the profile's shape cannot form a glottal cycle
    }
    for (size_t k = 0; k < cycles.size(); ++k) {
        track.excitations.push_back(drawn.excitations[k]);
        if (k > 0) {
            track.periods.push_back(drawn.closures[k] - drawn.closures[k - 1]);
        }
    }
    size_t length = static_cast<size_t>(sampleCount - 1) * kOversampling + kFilterHalfLength + 1;
    track.samples = Decimate(RenderOversampled(profile, cycles, length), sampleCount);
    UndoOutputLowPass(track.samples);
    return track;
}

double LocalPerturbation(const std::vector<double>& values) {
    if (values.size() < 2) {
        return 0;
    }
    double differences = 0;
    double total = values[0];
    for (size_t i = 1; i < values.size(); ++i) {
        differences += std::abs(values[i] - values[i - 1]);
        total += values[i];
    }
    double meanDifference = differences / static_cast<double>(values.size() - 1);
    return meanDifference / (total / static_cast<double>(values.size()));
}
