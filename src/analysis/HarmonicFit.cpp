#include "analysis/HarmonicFit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFormants = kFittedFormants;
// Parameters: log F1..F5, log B1..B5, log of the glottal corner, tilt (dB per kHz), gain.
constexpr int kParams = 2 * kFormants + 3;
constexpr int kCorner = 2 * kFormants;
constexpr int kTilt = kCorner + 1;
constexpr int kGain = kCorner + 2;

// Where each formant may lie and the bandwidth it usually has.
constexpr std::array<double, kFormants> kLowestHz = {150, 500, 1200, 2300, 2800};
constexpr std::array<double, kFormants> kHighestHz = {1300, 3200, 4200, 5000, 6000};
constexpr std::array<double, kFormants> kTypicalBandwidthHz = {70, 100, 150, 250, 300};
constexpr double kMinSpacingHz = 180;
// Where the glottal source's corner usually lies, as a multiple of F0.
constexpr double kUsualCorner = 1.5;

// One harmonic's frequency as the terms of the filter's transfer function need it.
struct HarmonicPoint {
    double frequencyHz;
    double cos1, sin1, cos2, sin2; // of omega and 2 omega
    double levelDb;
};

constexpr double kDbPerNeper = 4.342944819032518; // 10 / ln 10

// A digital resonator of the cascade (y = a x + b y1 + c y2 with a = 1 - b - c, unity gain at
// 0 Hz) and how its coefficients change with log F and log B.
struct Resonator {
    double b, c;
    double gainDb;                 // 10 log10 a^2
    double dbDu, dcDu, dbDv, dcDv; // u = log F, v = log B
    double dGainDu, dGainDv;

    Resonator(double logF, double logB, double sampleRate) {
        const double theta = 2 * kPi * std::exp(logF) / sampleRate;
        const double r = std::exp(-kPi * std::exp(logB) / sampleRate);
        const double drDv = r * std::log(r); // dr/dB * B
        b = 2 * r * std::cos(theta);
        c = -r * r;
        const double a = 1 - b - c;
        gainDb = kDbPerNeper * std::log(a * a);
        dbDu = -2 * r * std::sin(theta) * theta;
        dcDu = 0;
        dbDv = 2 * std::cos(theta) * drDv;
        dcDv = -2 * r * drDv;
        // d(10 log10 a^2) = 2 K da / a, with da = -db - dc
        dGainDu = -2 * kDbPerNeper * (dbDu + dcDu) / a;
        dGainDv = -2 * kDbPerNeper * (dbDv + dcDv) / a;
    }
    // |1 - b z^-1 - c z^-2|^2 at a harmonic, whose inverse the resonator passes.
    double Denominator(const HarmonicPoint& h, double& re, double& im) const {
        re = 1 - b * h.cos1 - c * h.cos2;
        im = b * h.sin1 + c * h.sin2;
        return re * re + im * im;
    }
};

using Params = Eigen::Matrix<double, kParams, 1>;
constexpr int kPriors = kFormants + 2;
using Jacobian = Eigen::Matrix<double, Eigen::Dynamic, kParams>;

// The least-squares fit: residuals are model minus measured level at each harmonic, then the
// priors: bandwidths near their usual widths (each worth about one harmonic), and, held more
// loosely, the glottal corner near 1.5 F0 and no extreme tilt. (The corner of a glottal
// pulse's spectrum lies above F0, the more so the shorter its open phase; a corner held at F0
// made the source fall too early and the fit lift H2-H4 with F1, which read F1 low.)
//
// The model at a harmonic is gain + the resonators' gains - 10 log10 of the product of their
// denominators + the source: the voice source as the lips radiate it, a rise of 6 dB/octave
// (radiation) on a glottal pulse spectrum that falls by 12 dB/octave above its corner, with an
// extra tilt that is steeper for a softer, breathier voice. One logarithm per harmonic, and
// the Jacobian in closed form.
class Fit {
public:
    Fit(const std::vector<HarmonicPoint>& points, double f0Hz, double sampleRate)
        : m_points(points), m_f0(f0Hz), m_rate(sampleRate),
          m_jacobian(Jacobian::Zero(static_cast<Eigen::Index>(points.size()) + kPriors, kParams)),
          m_residuals(static_cast<Eigen::Index>(points.size()) + kPriors),
          m_trial(static_cast<Eigen::Index>(points.size()) + kPriors) {}

    // Levenberg-Marquardt from p for at most the given number of steps; returns the cost.
    double Run(Params& p, double& lambda, int iterations) {
        Clamp(p);
        Residuals(p, m_residuals);
        double cost = m_residuals.squaredNorm();
        for (int it = 0; it < iterations; ++it) {
            FillJacobian(p);
            const Eigen::Matrix<double, kParams, kParams> jtj =
                m_jacobian.transpose().lazyProduct(m_jacobian);
            const Params jtr = m_jacobian.transpose().lazyProduct(m_residuals);
            bool moved = false;
            for (int tries = 0; tries < 5 && !moved; ++tries) {
                Eigen::Matrix<double, kParams, kParams> a = jtj;
                a.diagonal() += lambda * (jtj.diagonal().array() + 1e-6).matrix();
                Params q = p - a.llt().solve(jtr);
                Clamp(q);
                Residuals(q, m_trial);
                const double c = m_trial.squaredNorm();
                if (c < cost) {
                    const bool converged = cost - c < 1e-4 * cost;
                    p = q;
                    m_residuals.swap(m_trial);
                    cost = c;
                    lambda = std::max(lambda * 0.3, 1e-7);
                    if (converged)
                        return cost;
                    moved = true;
                } else {
                    lambda *= 8;
                }
            }
            if (!moved)
                break;
        }
        return cost;
    }

    void Clamp(Params& p) const {
        double floor = 0;
        for (int i = 0; i < kFormants; ++i) {
            const double low = std::max(kLowestHz[i], floor);
            const double f = std::clamp(std::exp(p[i]), low, std::max(low, kHighestHz[i]));
            p[i] = std::log(f);
            floor = f + kMinSpacingHz;
            p[kFormants + i] = std::clamp(p[kFormants + i], std::log(20.0), std::log(700.0));
        }
        p[kCorner] = std::clamp(p[kCorner], std::log(0.25 * m_f0), std::log(4.0 * m_f0));
        p[kTilt] = std::clamp(p[kTilt], -4.0, 12.0);
    }

    // The residuals at p.
    void Residuals(const Params& p, Eigen::VectorXd& r) const {
        const size_t n = m_points.size();
        std::array<Resonator, kFormants> resonators = MakeResonators(p);
        double gain = p[kGain];
        for (const Resonator& resonator : resonators)
            gain += resonator.gainDb;
        const double corner = std::exp(p[kCorner]);
        for (size_t k = 0; k < n; ++k) {
            const HarmonicPoint& h = m_points[k];
            const double x = h.frequencyHz / corner;
            const double pulse = x / (1 + x * x);
            double denominator = 1;
            for (const Resonator& resonator : resonators) {
                double re, im;
                denominator *= resonator.Denominator(h, re, im);
            }
            r[k] = gain + kDbPerNeper * std::log(pulse * pulse / denominator) -
                   p[kTilt] * h.frequencyHz / 1000 - h.levelDb;
        }
        for (int i = 0; i < kFormants; ++i)
            r[n + i] = kBandwidthPrior * (p[kFormants + i] - std::log(kTypicalBandwidthHz[i]));
        r[n + kFormants] = kCornerPrior * (p[kCorner] - std::log(kUsualCorner * m_f0));
        r[n + kFormants + 1] = kTiltPrior * p[kTilt];
    }

    // The gain that matches the mean level at p.
    double MeanGain(const Params& p) {
        Residuals(p, m_residuals);
        return -m_residuals.head(static_cast<Eigen::Index>(m_points.size())).mean() + p[kGain];
    }

private:
    std::array<Resonator, kFormants> MakeResonators(const Params& p) const {
        return {Resonator(p[0], p[kFormants], m_rate), Resonator(p[1], p[kFormants + 1], m_rate),
                Resonator(p[2], p[kFormants + 2], m_rate),
                Resonator(p[3], p[kFormants + 3], m_rate),
                Resonator(p[4], p[kFormants + 4], m_rate)};
    }

    void FillJacobian(const Params& p) {
        const Eigen::Index n = static_cast<Eigen::Index>(m_points.size());
        const std::array<Resonator, kFormants> resonators = MakeResonators(p);
        const double corner = std::exp(p[kCorner]);
        for (Eigen::Index k = 0; k < n; ++k) {
            const HarmonicPoint& h = m_points[k];
            for (int i = 0; i < kFormants; ++i) {
                const Resonator& s = resonators[i];
                double re, im;
                const double d = s.Denominator(h, re, im);
                // d|D|^2 / db and / dc, halved
                const double dDb = -re * h.cos1 + im * h.sin1;
                const double dDc = -re * h.cos2 + im * h.sin2;
                const double scale = -2 * kDbPerNeper / d;
                m_jacobian(k, i) = s.dGainDu + scale * (dDb * s.dbDu + dDc * s.dcDu);
                m_jacobian(k, kFormants + i) = s.dGainDv + scale * (dDb * s.dbDv + dDc * s.dcDv);
            }
            const double x2 = (h.frequencyHz / corner) * (h.frequencyHz / corner);
            m_jacobian(k, kCorner) = 2 * kDbPerNeper * (x2 - 1) / (1 + x2);
            m_jacobian(k, kTilt) = -h.frequencyHz / 1000;
            m_jacobian(k, kGain) = 1;
        }
        for (int i = 0; i < kFormants; ++i)
            m_jacobian(n + i, kFormants + i) = kBandwidthPrior;
        m_jacobian(n + kFormants, kCorner) = kCornerPrior;
        m_jacobian(n + kFormants + 1, kTilt) = kTiltPrior;
    }

    static constexpr double kBandwidthPrior = 3.0;
    static constexpr double kCornerPrior = 1.0;
    static constexpr double kTiltPrior = 0.2;

    const std::vector<HarmonicPoint>& m_points;
    double m_f0;
    double m_rate;
    Jacobian m_jacobian;
    Eigen::VectorXd m_residuals, m_trial;
};

} // namespace

HarmonicFitResult FitHarmonics(const std::vector<HarmonicAmplitude>& harmonics, double f0Hz,
                               const std::vector<FormantSet>& seeds, double sampleRate) {
    HarmonicFitResult best;
    if (harmonics.size() < 4 || seeds.empty())
        return best;
    std::vector<HarmonicPoint> points;
    for (const HarmonicAmplitude& h : harmonics) {
        const double w = 2 * kPi * h.frequencyHz / sampleRate;
        points.push_back(
            {h.frequencyHz, std::cos(w), std::sin(w), std::cos(2 * w), std::sin(2 * w), h.levelDb});
    }
    Fit fit(points, f0Hz, sampleRate);
    // A few steps from every seed; the starts that are still far worse than the best, or that
    // have come to where a better one is, are dropped (most seeds run into the same few
    // minima); up to 16 more steps from each of the others, then the best is followed to the
    // end.
    struct Start {
        Params p;
        double lambda;
        double cost;
    };
    std::vector<Start> starts;
    std::vector<FormantSet> tried;
    for (const FormantSet& seed : seeds) {
        // A seed within 4 % of one already tried in F1-F3 would end in the same place.
        const auto near = [&seed](const FormantSet& other) {
            for (int i = 0; i < 3; ++i)
                if (std::abs(seed.frequenciesHz[i] - other.frequenciesHz[i]) >
                    0.04 * other.frequenciesHz[i])
                    return false;
            return true;
        };
        if (std::any_of(tried.begin(), tried.end(), near))
            continue;
        tried.push_back(seed);
        Start start{Params::Zero(), 1e-2, 0};
        for (int i = 0; i < kFormants; ++i) {
            start.p[i] = std::log(seed.frequenciesHz[i]);
            start.p[kFormants + i] =
                std::log(seed.bandwidthsHz[i] > 0 ? seed.bandwidthsHz[i] : kTypicalBandwidthHz[i]);
        }
        start.p[kCorner] = std::log(kUsualCorner * f0Hz);
        fit.Clamp(start.p);
        start.p[kGain] = fit.MeanGain(start.p);
        start.cost = fit.Run(start.p, start.lambda, 3);
        starts.push_back(start);
    }
    const auto byCost = [](const Start& a, const Start& b) { return a.cost < b.cost; };
    std::sort(starts.begin(), starts.end(), byCost);
    std::vector<Start> kept;
    for (const Start& start : starts) {
        if (start.cost > 3 * starts.front().cost)
            break;
        // F1-F3 within 2 % of a better start's
        const auto same = [&start](const Start& other) {
            return (start.p.head<3>() - other.p.head<3>()).cwiseAbs().maxCoeff() < 0.02;
        };
        if (std::none_of(kept.begin(), kept.end(), same))
            kept.push_back(start);
    }
    for (Start& start : kept)
        start.cost = fit.Run(start.p, start.lambda, 16);
    double bestCost = INFINITY;
    if (!kept.empty()) {
        Start& start = *std::min_element(kept.begin(), kept.end(), byCost);
        bestCost = fit.Run(start.p, start.lambda, 30);
        for (int i = 0; i < kFormants; ++i) {
            best.formants.frequenciesHz[i] = std::exp(start.p[i]);
            best.formants.bandwidthsHz[i] = std::exp(start.p[kFormants + i]);
        }
    }
    best.costDb2 = bestCost / static_cast<double>(points.size());
    best.ok = std::isfinite(bestCost);
    return best;
}

namespace {

// Burg's method: the prediction polynomial 1 + a1 z^-1 + ... of the given order.
std::vector<double> BurgPolynomial(const std::vector<double>& x, int order) {
    const size_t n = x.size();
    std::vector<double> a(order + 1, 0.0), forward(x), backward(x);
    a[0] = 1;
    for (int m = 1; m <= order; ++m) {
        double num = 0, den = 0;
        for (size_t i = m; i < n; ++i) {
            num += forward[i] * backward[i - 1];
            den += forward[i] * forward[i] + backward[i - 1] * backward[i - 1];
        }
        if (den <= 0)
            break;
        const double k = -2 * num / den;
        std::vector<double> next(a);
        for (int i = 1; i <= m; ++i)
            next[i] = a[i] + k * a[m - i];
        a.swap(next);
        for (size_t i = n - 1; i >= static_cast<size_t>(m); --i) {
            const double f = forward[i];
            forward[i] = f + k * backward[i - 1];
            backward[i] = backward[i - 1] + k * f;
        }
    }
    return a;
}

} // namespace

std::vector<FormantSet> LinearPredictionSeeds(const std::vector<double>& frame, double sampleRate,
                                              double f0Hz) {
    std::vector<FormantSet> seeds;
    if (frame.size() < 32)
        return seeds;
    // Pre-emphasis above 50 Hz flattens the source's fall before prediction.
    std::vector<double> x(frame.size());
    const double alpha = std::exp(-2 * kPi * 50 / sampleRate);
    for (size_t i = frame.size() - 1; i > 0; --i)
        x[i] = frame[i] - alpha * frame[i - 1];
    for (int order : {10, 14}) {
        const std::vector<double> a = BurgPolynomial(x, order);
        // Roots of z^order + a1 z^(order-1) + ... : Eigen wants the coefficients lowest first.
        // The roots of 1 + a1 z^-1 + ... are the eigenvalues of its companion matrix, which is
        // upper Hessenberg already: its real Schur form needs no reduction and no vectors.
        using Companion = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, 14, 14>;
        Companion companion = Companion::Zero(order, order);
        for (int i = 0; i < order; ++i)
            companion(0, i) = -a[i + 1];
        for (int i = 1; i < order; ++i)
            companion(i, i - 1) = 1;
        Eigen::RealSchur<Companion> schur(order);
        schur.computeFromHessenberg(companion, Companion::Identity(order, order), false);
        if (schur.info() != Eigen::Success)
            continue;
        // Each 2 x 2 block of the quasi-triangular form holds a complex pair (real roots are
        // no formants).
        const Companion& t = schur.matrixT();
        std::vector<std::complex<double>> roots;
        for (int i = 0; i + 1 < order;) {
            if (t(i + 1, i) == 0) {
                ++i;
                continue;
            }
            const double half = 0.5 * (t(i, i) + t(i + 1, i + 1));
            const double det = t(i, i) * t(i + 1, i + 1) - t(i, i + 1) * t(i + 1, i);
            if (det > half * half)
                roots.emplace_back(half, std::sqrt(det - half * half));
            i += 2;
        }
        std::vector<std::pair<double, double>> found;
        for (const std::complex<double>& root : roots) {
            const double f = std::arg(root) * sampleRate / (2 * kPi);
            const double b = -std::log(std::abs(root)) * sampleRate / kPi;
            if (f > std::max(120.0, 0.6 * f0Hz) && f < 5800 && b > 0 && b < 600)
                found.push_back({f, b});
        }
        std::sort(found.begin(), found.end());
        // The candidates from the lowest and from the second lowest are seeds; formants that
        // prediction did not find lie 1000 Hz above the last one it found.
        for (size_t first = 0; first < 2 && first + 3 <= found.size(); ++first) {
            FormantSet seed;
            for (int i = 0; i < kFormants; ++i) {
                const size_t j = first + i;
                seed.frequenciesHz[i] =
                    j < found.size() ? found[j].first : seed.frequenciesHz[i - 1] + 1000;
                seed.bandwidthsHz[i] =
                    j < found.size() ? std::clamp(found[j].second, 30.0, 400.0) : 300;
            }
            seeds.push_back(seed);
        }
    }
    return seeds;
}
