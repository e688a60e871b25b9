#include "VoicingGenerator.h"

#include "GlottalPulse.h"

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

// Cycle proportions derived from the single shape parameter Rd, as fractions of the period:
// Ra (return phase), Rk (asymmetry) and Rg (rise), by Fant's regression.
struct PulseProportions {
    double peakFlow;    // Tp / T
    double closure;     // Te / T
    double returnPhase; // Ta / T
};

PulseProportions ProportionsFromRd(double rd) {
    double ra = (-1 + 4.8 * rd) / 100;
    double rk = (22.4 + 11.8 * rd) / 100;
    double rg = rk / (4 * (0.11 * rd / (0.5 + 1.2 * rk) - ra));
    double tp = 1 / (2 * rg);
    return {tp, tp * (1 + rk), ra};
}

// For i.i.d. Gaussian values, mean |x(i) - x(i-1)| = 2 sigma / sqrt(pi); this turns a wanted
// local perturbation into the standard deviation to draw with.
double SigmaForLocalPerturbation(double local) {
    return local * std::sqrt(std::numbers::pi) / 2;
}

// The slowly moving pitch and loudness of the speaker.
class Intonation {
public:
    Intonation(const VoiceProfile& profile, GaussianSource& random)
        : m_profile(profile), m_random(random) {}

    double F0(double t) const {
        double melody =
            m_profile.driftDepth * std::sin(2 * std::numbers::pi * t / m_profile.driftSeconds);
        return m_profile.meanF0 * std::exp(melody + m_wander);
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
    // Moves the random wander on by one period (an Ornstein-Uhlenbeck walk with a time
    // constant of about a second, so the pitch wanders but keeps to its mean).
    void Advance(double seconds) {
        constexpr double kTimeConstant = 0.8;
        double keep = std::exp(-seconds / kTimeConstant);
        m_wander = m_wander * keep +
                   m_profile.wanderDepth * std::sqrt(1 - keep * keep) * m_random.NextLimited();
    }

private:
    const VoiceProfile& m_profile;
    GaussianSource& m_random;
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

// Draws closure instants whose intervals carry the jitter and strengths that carry the
// shimmer, following the slow intonation, until `seconds` are covered.
DrawnCycles DrawClosures(const VoiceProfile& profile, double seconds,
                         const PulseProportions& shape) {
    GaussianSource random(profile.seed);
    Intonation intonation(profile, random);
    double jitterSigma = SigmaForLocalPerturbation(profile.jitter);
    double shimmerSigma = SigmaForLocalPerturbation(profile.shimmer);
    DrawnCycles drawn;
    double previousClosure = 0;
    while (previousClosure < seconds + 0.05) {
        double period = (1 + jitterSigma * random.NextLimited()) / intonation.F0(previousClosure);
        // The first cycle opens at time 0, so its closure comes after its own open phase.
        double closure = drawn.closures.empty() ? shape.closure * period : previousClosure + period;
        drawn.closures.push_back(closure);
        drawn.periods.push_back(period);
        drawn.excitations.push_back(intonation.Loudness(closure) *
                                    (1 + shimmerSigma * random.NextLimited()));
        intonation.Advance(period);
        previousClosure = closure;
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
                             shape.closure * period, shape.returnPhase * period};
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
// during each open phase.
std::vector<double> RenderOversampled(const VoiceProfile& profile,
                                      const std::vector<GlottalCycle>& cycles, size_t length) {
    GaussianSource noise(profile.seed ^ 0x9e3779b9u);
    std::vector<double> wave(length, 0.0);
    size_t k = 0;
    for (size_t m = 0; m < length; ++m) {
        double t = static_cast<double>(m) / (kVoiceSampleRate * kOversampling);
        while (k + 1 < cycles.size() && t >= cycles[k + 1].opening) {
            ++k;
        }
        const GlottalPulse& pulse = cycles[k].pulse;
        double local = t - cycles[k].opening;
        wave[m] = pulse.FlowDerivative(local);
        if (local < pulse.Timing().closure) {
            wave[m] += profile.aspiration * pulse.Excitation() * noise.Next();
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
    PulseProportions shape = ProportionsFromRd(profile.shapeRd);
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
