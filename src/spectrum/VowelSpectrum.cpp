#include "spectrum/VowelSpectrum.h"
#include "analysis/FormantAnalysis.h"

#include "synth/SynthEngine.h"
#include "synth/WavFile.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>

namespace {

using Complex = std::complex<double>;

// Full scale of the written 16-bit sound.
constexpr double kFullScale = 32768.0;
// Below this the levels are cut, so that silence reads as a finite number.
constexpr double kFloorDb = -200.0;

double Db(double amplitude) {
    return amplitude > 0 ? std::max(20.0 * std::log10(amplitude), kFloorDb) : kFloorDb;
}

// Response of y = a x + b y1 + c y2 at z^-1 = zInv.
Complex ResonatorResponse(const Resonator& r, Complex zInv) {
    return double{r.a} / (1.0 - double{r.b} * zInv - double{r.c} * zInv * zInv);
}

// Response of y = a x + b x1 + c x2.
Complex AntiresonatorResponse(const Resonator& r, Complex zInv) {
    return double{r.a} + double{r.b} * zInv + double{r.c} * zInv * zInv;
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
struct PlanDestroy {
    void operator()(fftw_plan_s* p) const { fftw_destroy_plan(p); }
};

// The arrays and plans of one transform size, made once and kept for the process: planning
// computes the transform's twiddle factors, which costs more than a transform. FFTW's
// planner is not thread-safe; the lock keeps the transforms one at a time.
struct FftOfSize {
    explicit FftOfSize(size_t n)
        : size(n), real(fftw_alloc_real(n)), complex(fftw_alloc_complex(n / 2 + 1)),
          forward(
              fftw_plan_dft_r2c_1d(static_cast<int>(n), real.get(), complex.get(), FFTW_ESTIMATE)),
          backward(fftw_plan_dft_c2r_1d(static_cast<int>(n), complex.get(), real.get(),
                                        FFTW_ESTIMATE)) {}

    size_t size;
    std::unique_ptr<double, FftwFree> real;
    std::unique_ptr<fftw_complex, FftwFree> complex;
    std::unique_ptr<fftw_plan_s, PlanDestroy> forward, backward;
};

std::mutex g_fftLock;

// Call with g_fftLock held.
FftOfSize& FftFor(size_t size) {
    static std::map<size_t, std::unique_ptr<FftOfSize>> made;
    std::unique_ptr<FftOfSize>& fft = made[size];
    if (!fft)
        fft = std::make_unique<FftOfSize>(size);
    return *fft;
}

// The transform X of x zero-padded to size points, bins 0..size/2.
std::vector<Complex> Transform(const std::vector<double>& x, size_t size) {
    const std::lock_guard<std::mutex> lock(g_fftLock);
    FftOfSize& fft = FftFor(size);
    std::fill(fft.real.get(), fft.real.get() + size, 0.0);
    std::copy_n(x.begin(), std::min(x.size(), size), fft.real.get());
    fftw_execute(fft.forward.get());
    std::vector<Complex> result(size / 2 + 1);
    for (size_t k = 0; k < result.size(); ++k)
        result[k] = Complex(fft.complex.get()[k][0], fft.complex.get()[k][1]);
    return result;
}

// The autocorrelation of x zero-padded to size points (twice its length at least, so that
// it does not wrap round), lags 0..size-1, by the inverse transform of |X|^2.
std::vector<double> Autocorrelation(const std::vector<double>& x, size_t size) {
    const std::vector<Complex> spectrum = Transform(x, size);
    const std::lock_guard<std::mutex> lock(g_fftLock);
    FftOfSize& fft = FftFor(size);
    for (size_t k = 0; k < spectrum.size(); ++k) {
        fft.complex.get()[k][0] = std::norm(spectrum[k]);
        fft.complex.get()[k][1] = 0;
    }
    fftw_execute(fft.backward.get());
    return std::vector<double>(fft.real.get(), fft.real.get() + size);
}

size_t FftSizeFor(size_t length) {
    size_t size = 4096;
    while (size < 2 * length)
        size *= 2;
    return size;
}

// F0 from the autocorrelation of x (by FFT), searched between 60 and 500 Hz; 0 when x holds
// no clear period.
double PitchOf(const std::vector<double>& x, int rate) {
    if (x.size() < 4)
        return 0;
    const std::vector<double> correlation = Autocorrelation(x, FftSizeFor(x.size()));
    const double* r = correlation.data();
    if (r[0] <= 0)
        return 0;
    const size_t shortest = std::max<size_t>(1, static_cast<size_t>(rate / 500));
    const size_t longest = std::min(static_cast<size_t>(rate / 60), x.size() / 2);
    size_t best = 0;
    for (size_t lag = shortest; lag + 1 < longest; ++lag)
        if (r[lag] > r[lag - 1] && r[lag] >= r[lag + 1] && (best == 0 || r[lag] > r[best]))
            best = lag;
    if (best == 0 || r[best] < 0.3 * r[0])
        return 0;
    // A parabola through the peak and its neighbours places it between lags.
    const double left = r[best - 1], mid = r[best], right = r[best + 1];
    const double denominator = left - 2 * mid + right;
    const double shift = denominator != 0 ? 0.5 * (left - right) / denominator : 0.0;
    return rate / (static_cast<double>(best) + shift);
}

std::vector<double> Slice(const std::vector<double>& x, size_t first, size_t last) {
    first = std::min(first, x.size());
    last = std::clamp(last, first, x.size());
    return std::vector<double>(x.begin() + static_cast<std::ptrdiff_t>(first),
                               x.begin() + static_cast<std::ptrdiff_t>(last));
}

// The sound's levels at its harmonics (the highest point within a third of F0 of each
// multiple of F0), and A1..A3: the strongest of them within one F0 of each formant.
void FindHarmonics(VowelSpectrum& spectrum) {
    if (spectrum.f0Hz <= 0 || spectrum.binHz <= 0)
        return;
    const double f0 = spectrum.f0Hz;
    const size_t bins = spectrum.soundDb.size();
    for (int k = 1; k * f0 < kSpectrumTopHz - f0 / 3; ++k) {
        const auto low = static_cast<size_t>(std::max(0.0, (k - 1.0 / 3) * f0 / spectrum.binHz));
        const auto high =
            std::min(bins - 1, static_cast<size_t>((k + 1.0 / 3) * f0 / spectrum.binHz));
        size_t top = low;
        for (size_t b = low; b <= high; ++b)
            if (spectrum.soundDb[b] > spectrum.soundDb[top])
                top = b;
        Harmonic harmonic;
        harmonic.hz = static_cast<double>(top) * spectrum.binHz;
        harmonic.soundDb = spectrum.soundDb[top];
        if (spectrum.synthesized) {
            harmonic.filterDb = spectrum.filterDb[top];
            harmonic.sourceDb = spectrum.sourceDb[top];
        }
        spectrum.harmonics.push_back(harmonic);
    }
    for (size_t n = 0; n < spectrum.levels.size(); ++n) {
        HarmonicLevel& level = spectrum.levels[n];
        level = HarmonicLevel{static_cast<double>(spectrum.formants[n]), 0, kFloorDb};
        if (level.formantHz <= 0)
            continue;
        for (const Harmonic& harmonic : spectrum.harmonics)
            if (std::abs(harmonic.hz - level.formantHz) <= f0 && harmonic.soundDb > level.db) {
                level.harmonicHz = harmonic.hz;
                level.db = harmonic.soundDb;
            }
    }
}

// The spectrum curves of the sound (and of the source) over [first, last), up to 5000 Hz.
void MeasureMiddle(VowelSpectrum& spectrum, const std::vector<double>& sound,
                   const std::vector<double>& source, int rate, size_t first, size_t last) {
    const std::vector<double> middle = Slice(sound, first, last);
    const size_t size = FftSizeFor(middle.size());
    spectrum.binHz = static_cast<double>(rate) / static_cast<double>(size);
    const auto points = static_cast<size_t>(std::floor(kSpectrumTopHz / spectrum.binHz)) + 1;
    spectrum.soundDb = HannSpectrumDb(middle, size, kFullScale);
    spectrum.soundDb.resize(std::min(points, spectrum.soundDb.size()));
    spectrum.middleStartS = static_cast<double>(first) / rate;
    spectrum.middleEndS = static_cast<double>(std::min(last, sound.size())) / rate;
    spectrum.durationS = static_cast<double>(sound.size()) / rate;
    if (!source.empty()) {
        const std::vector<double> sourceMiddle = Slice(source, first, last);
        spectrum.sourceDb = HannSpectrumDb(sourceMiddle, size, kFullScale);
        spectrum.sourceDb.resize(spectrum.soundDb.size());
        spectrum.f0Hz = PitchOf(sourceMiddle, rate);
    } else {
        spectrum.f0Hz = PitchOf(middle, rate);
    }
}

// A wide-band spectrogram (12.8 ms Hann windows every 2 ms) that shows the formants move.
Spectrogram SpectrogramOf(const std::vector<double>& sound, int rate) {
    Spectrogram spectrogram;
    const size_t window = static_cast<size_t>(rate) * 128 / 10000;
    const size_t hop = std::max<size_t>(1, static_cast<size_t>(rate) * 20 / 10000);
    const size_t size = 256 * static_cast<size_t>(std::max(1, rate / 10000));
    spectrogram.columnSeconds = static_cast<double>(hop) / rate;
    spectrogram.rowHz = static_cast<double>(rate) / static_cast<double>(size);
    const auto rows = static_cast<size_t>(kSpectrumTopHz / spectrogram.rowHz) + 1;
    // Each column is centred on its hop: the window reaches half its length to each side.
    for (size_t start = 0; start * 1 < sound.size(); start += hop) {
        const size_t centre = start + hop / 2;
        const size_t first = centre >= window / 2 ? centre - window / 2 : 0;
        std::vector<double> piece = Slice(sound, first, first + window);
        piece.resize(window, 0.0);
        std::vector<double> levels = HannSpectrumDb(piece, size, kFullScale);
        levels.resize(std::min(rows, levels.size()));
        spectrogram.columns.emplace_back(levels.begin(), levels.end());
    }
    return spectrogram;
}

} // namespace

double FilterResponseDb(const SynthState& setUp, double hz) {
    const Complex zInv = std::polar(1.0, -2 * std::numbers::pi * hz / setUp.sampleRate);
    Complex h =
        AntiresonatorResponse(setUp.nasalZero, zInv) * ResonatorResponse(setUp.nasalPoleCasc, zInv);
    const Resonator* const formants[8] = {&setUp.f1Casc, &setUp.f2Casc, &setUp.f3Casc,
                                          &setUp.f4Casc, &setUp.f5Casc, &setUp.f6Casc,
                                          &setUp.f7Casc, &setUp.f8Casc};
    // F1 is always in the cascade; F2 to F8 as far as the configuration counts.
    const int count = std::clamp(setUp.cascadeCount, 1, 8);
    for (int j = 0; j < count; ++j)
        h *= ResonatorResponse(*formants[j], zInv);
    h *= ResonatorResponse(setUp.outputFilter, zInv);
    return Db(std::abs(h));
}

std::vector<double> HannSpectrumDb(const std::vector<double>& x, size_t fftSize, double reference) {
    const size_t n = std::min(x.size(), fftSize);
    std::vector<double> windowed(n);
    double windowSum = 0;
    for (size_t i = 0; i < n; ++i) {
        const double w = n > 1
                             ? 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) /
                                                    static_cast<double>(n - 1))
                             : 1.0;
        windowed[i] = x[i] * w;
        windowSum += w;
    }
    const std::vector<Complex> bins = Transform(windowed, fftSize);
    std::vector<double> levels(bins.size());
    // A sinusoid of amplitude A gives a peak of A x windowSum / 2.
    const double scale = windowSum > 0 ? 2.0 / (windowSum * reference) : 0.0;
    for (size_t k = 0; k < bins.size(); ++k)
        levels[k] = Db(std::abs(bins[k]) * scale);
    return levels;
}

VowelSpectrum AnalyseVowel(const VowelRequest& request) {
    VowelSpectrum spectrum;
    spectrum.synthesized = true;
    spectrum.diphthong = request.f1End > 0;
    std::vector<int32_t> rendered;
    // Rendered by a fresh engine, as a new process would.
    SynthEngine engine;
    spectrum.report =
        engine.RenderVowel(request.voiceFile, request.tiltDb, request.frameMs, request.f1,
                           request.f2, request.f3, request.f1End, request.f2End, rendered);
    if (!spectrum.report.Ok())
        return spectrum;
    // The samples the run has just voiced the vowel with.
    const std::vector<int32_t>& voice = engine.LoadedVoiceSamples().samples;
    VowelTrack track;
    BuildTrackForVowel(track, request.tiltDb, request.f1, request.f2, request.f3, request.f1End,
                       request.f2End);
    const SynthFrame& middleFrame = track[kTrackFrames / 2];
    const SynthState setUp = FrameSetUp(middleFrame);
    spectrum.formants = {middleFrame.f1, middleFrame.f2, middleFrame.f3};

    // The written sound is scaled down to 16 bits when its peak exceeds them.
    const int64_t peak = PeakMagnitude(rendered);
    const double toWritten = peak > 32767 ? 32767.0 / static_cast<double>(peak) : 1.0;
    std::vector<double> sound(rendered.size());
    for (size_t i = 0; i < rendered.size(); ++i)
        sound[i] = rendered[i] * toWritten;
    // The source as the run forms it: sample i of the sound takes voice sample i - 1 through
    // the tilt filter and the voicing gain; the output gain and the 16-bit scaling come after
    // the filter.
    std::vector<double> source(rendered.size(), 0.0);
    float tiltMemory = 0.0f;
    const double after = double{setUp.outputGain} * toWritten;
    for (size_t i = 1; i < source.size(); ++i) {
        const float v = i - 1 < voice.size() ? static_cast<float>(voice[i - 1]) : 0.0f;
        const float tilted =
            static_cast<float>(double{setUp.tiltPass} * v + double{setUp.tiltDecay} * tiltMemory);
        tiltMemory = tilted;
        source[i] = static_cast<float>(double{setUp.voicingGain} * tilted) * after;
    }

    const size_t frame = rendered.size() / kTrackFrames;
    const size_t first = spectrum.diphthong ? 2 * frame : frame;
    const size_t last = spectrum.diphthong ? 3 * frame : 4 * frame;
    MeasureMiddle(spectrum, sound, source, kRunSampleRate, first, last);
    spectrum.filterDb.resize(spectrum.soundDb.size());
    for (size_t k = 0; k < spectrum.filterDb.size(); ++k)
        spectrum.filterDb[k] = FilterResponseDb(setUp, static_cast<double>(k) * spectrum.binHz);
    FindHarmonics(spectrum);
    if (spectrum.diphthong) {
        spectrum.spectrogram = SpectrogramOf(sound, kRunSampleRate);
        const double frameS = static_cast<double>(frame) / kRunSampleRate;
        for (int k = 0; k < kTrackFrames; ++k)
            spectrum.formantPaths.push_back(
                {k * frameS, (k + 1) * frameS, {track[k].f1, track[k].f2, track[k].f3}});
    }
    return spectrum;
}

VowelSpectrum AnalyseRecording(const std::vector<double>& samples, int rate) {
    VowelSpectrum spectrum;
    if (rate <= 0 || samples.empty()) {
        spectrum.report.Fail("The recording holds no sound to measure.", "Spectrum",
                             MsgIcon::Warning);
        return spectrum;
    }
    const size_t fifth = samples.size() / 5;
    MeasureMiddle(spectrum, samples, {}, rate, fifth, samples.size() - fifth);
    // A recording's formants are what the analyser reads over its voiced stretch; A1-A3 are
    // then taken at them as for a synthesized vowel. An unvoiced recording shows none.
    const FormantSummary read =
        SummariseVowel(TrackFormants(std::vector<float>(samples.begin(), samples.end()), rate));
    if (read.voiced)
        for (size_t n = 0; n < spectrum.formants.size(); ++n)
            spectrum.formants[n] = static_cast<int>(std::lround(read.formantsHz[n]));
    FindHarmonics(spectrum);
    return spectrum;
}

std::string SpectrumCsv(const VowelSpectrum& spectrum) {
    std::string csv = "frequency_hz,sound_db,filter_db,source_db\n";
    char line[128];
    for (size_t k = 0; k < spectrum.soundDb.size(); ++k) {
        int n = std::snprintf(line, sizeof line, "%.2f,%.2f",
                              static_cast<double>(k) * spectrum.binHz, spectrum.soundDb[k]);
        if (k < spectrum.filterDb.size() && k < spectrum.sourceDb.size())
            n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), ",%.2f,%.2f",
                               spectrum.filterDb[k], spectrum.sourceDb[k]);
        else
            n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), ",,");
        csv.append(line, static_cast<size_t>(n));
        csv += '\n';
    }
    return csv;
}
