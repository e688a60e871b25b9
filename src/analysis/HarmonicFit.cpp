#include "analysis/HarmonicFit.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/Polynomials>

#include <algorithm>
#include <cmath>

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

// One harmonic's frequency as the terms of the filter's transfer function need it.
struct HarmonicPoint {
    double frequencyHz;
    double cos1, sin1, cos2, sin2; // of omega and 2 omega
    double levelDb;
};

constexpr double kDbPerNeper = 4.342944819032518; // 10 / ln 10

// The level in dB at every harmonic of a digital resonator with unity gain at 0 Hz (the
// cascade's own section: y = a x + b y1 + c y2 with a = 1 - b - c).
void ResonatorDb(const std::vector<HarmonicPoint>& points, double frequencyHz, double bandwidthHz,
                 double sampleRate, std::vector<double>& out) {
    const double r = std::exp(-kPi * bandwidthHz / sampleRate);
    const double b = 2 * r * std::cos(2 * kPi * frequencyHz / sampleRate);
    const double c = -r * r;
    const double a = 1 - b - c;
    const double gain = kDbPerNeper * std::log(a * a);
    for (size_t k = 0; k < points.size(); ++k) {
        const HarmonicPoint& h = points[k];
        const double re = 1 - b * h.cos1 - c * h.cos2;
        const double im = b * h.sin1 + c * h.sin2;
        out[k] = gain - kDbPerNeper * std::log(re * re + im * im);
    }
}

// The voice source as the lips radiate it: a rise of 6 dB/octave (radiation) on a glottal
// pulse spectrum that falls by 12 dB/octave above its corner, with an extra tilt that is
// steeper for a softer, breathier voice.
void SourceDb(const std::vector<HarmonicPoint>& points, double cornerHz, double tiltDbPerKhz,
              std::vector<double>& out) {
    for (size_t k = 0; k < points.size(); ++k) {
        const double x = points[k].frequencyHz / cornerHz;
        out[k] = 2 * kDbPerNeper * (std::log(x) - std::log(1 + x * x)) -
                 tiltDbPerKhz * points[k].frequencyHz / 1000;
    }
}

using Params = Eigen::Matrix<double, kParams, 1>;
constexpr int kPriors = kFormants + 2;

// The least-squares fit: residuals are model minus measured level at each harmonic, then the
// priors, each worth about one harmonic: bandwidths near their usual widths, the glottal
// corner near F0, no extreme tilt.
class Fit {
public:
    Fit(const std::vector<HarmonicPoint>& points, double f0Hz, double sampleRate)
        : m_points(points), m_f0(f0Hz), m_rate(sampleRate),
          m_terms(kFormants + 1, std::vector<double>(points.size())), m_trial(points.size()) {}

    // Levenberg-Marquardt from p for at most the given number of steps; returns the cost.
    double Run(Params& p, double& lambda, int iterations) {
        Clamp(p);
        Eigen::VectorXd r = Residuals(p, m_terms);
        double cost = r.squaredNorm();
        const size_t n = m_points.size();
        Eigen::MatrixXd jacobian = Eigen::MatrixXd::Zero(n + kPriors, kParams);
        for (int it = 0; it < iterations; ++it) {
            // Each parameter moves one term only: its column is that term's change.
            for (int j = 0; j < kParams; ++j) {
                if (j == kGain) {
                    jacobian.col(j).head(n).setOnes();
                    continue;
                }
                const double step = j == kTilt ? 0.05 : 1e-4;
                Params q = p;
                q[j] += step;
                int term = kFormants;
                if (j < kFormants)
                    term = j;
                else if (j < 2 * kFormants)
                    term = j - kFormants;
                if (term < kFormants)
                    ResonatorDb(m_points, std::exp(q[term]), std::exp(q[kFormants + term]), m_rate,
                                m_trial);
                else
                    SourceDb(m_points, std::exp(q[kCorner]), q[kTilt], m_trial);
                for (size_t k = 0; k < n; ++k)
                    jacobian(k, j) = (m_trial[k] - m_terms[term][k]) / step;
            }
            for (int i = 0; i < kFormants; ++i)
                jacobian(n + i, kFormants + i) = kBandwidthPrior;
            jacobian(n + kFormants, kCorner) = kCornerPrior;
            jacobian(n + kFormants + 1, kTilt) = kTiltPrior;
            const Eigen::Matrix<double, kParams, kParams> jtj = jacobian.transpose() * jacobian;
            const Params jtr = jacobian.transpose() * r;
            bool moved = false;
            for (int tries = 0; tries < 5 && !moved; ++tries) {
                Eigen::Matrix<double, kParams, kParams> a = jtj;
                a.diagonal() += lambda * (jtj.diagonal().array() + 1e-6).matrix();
                Params q = p - a.ldlt().solve(jtr);
                Clamp(q);
                m_trialTerms = m_terms;
                Eigen::VectorXd rq = Residuals(q, m_trialTerms);
                const double c = rq.squaredNorm();
                if (c < cost) {
                    const bool converged = cost - c < 1e-4 * cost;
                    p = q;
                    r = rq;
                    cost = c;
                    m_terms.swap(m_trialTerms);
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

    // The residuals of p; terms receives the model's terms at p.
    Eigen::VectorXd Residuals(const Params& p, std::vector<std::vector<double>>& terms) const {
        const size_t n = m_points.size();
        for (int i = 0; i < kFormants; ++i)
            ResonatorDb(m_points, std::exp(p[i]), std::exp(p[kFormants + i]), m_rate, terms[i]);
        SourceDb(m_points, std::exp(p[kCorner]), p[kTilt], terms[kFormants]);
        Eigen::VectorXd r(n + kPriors);
        for (size_t k = 0; k < n; ++k) {
            double model = p[kGain];
            for (int i = 0; i <= kFormants; ++i)
                model += terms[i][k];
            r[k] = model - m_points[k].levelDb;
        }
        for (int i = 0; i < kFormants; ++i)
            r[n + i] = kBandwidthPrior * (p[kFormants + i] - std::log(kTypicalBandwidthHz[i]));
        r[n + kFormants] = kCornerPrior * (p[kCorner] - std::log(m_f0));
        r[n + kFormants + 1] = kTiltPrior * p[kTilt];
        return r;
    }

    // The gain that matches the mean level at p.
    double MeanGain(const Params& p) {
        return -Residuals(p, m_terms).head(m_points.size()).mean() + p[kGain];
    }

private:
    static constexpr double kBandwidthPrior = 3.0;
    static constexpr double kCornerPrior = 3.0;
    static constexpr double kTiltPrior = 0.5;

    const std::vector<HarmonicPoint>& m_points;
    double m_f0;
    double m_rate;
    std::vector<std::vector<double>> m_terms, m_trialTerms;
    std::vector<double> m_trial;
};

} // namespace

HarmonicFitResult FitHarmonics(const std::vector<HarmonicLevel>& harmonics, double f0Hz,
                               const std::vector<FormantSet>& seeds, double sampleRate) {
    HarmonicFitResult best;
    if (harmonics.size() < 4 || seeds.empty())
        return best;
    std::vector<HarmonicPoint> points;
    for (const HarmonicLevel& h : harmonics) {
        const double w = 2 * kPi * h.frequencyHz / sampleRate;
        points.push_back(
            {h.frequencyHz, std::cos(w), std::sin(w), std::cos(2 * w), std::sin(2 * w), h.levelDb});
    }
    Fit fit(points, f0Hz, sampleRate);
    // Up to 20 steps from every seed, then the best is followed to the end.
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
        start.p[kCorner] = std::log(f0Hz);
        fit.Clamp(start.p);
        start.p[kGain] = fit.MeanGain(start.p);
        start.cost = fit.Run(start.p, start.lambda, 20);
        starts.push_back(start);
    }
    std::sort(starts.begin(), starts.end(),
              [](const Start& a, const Start& b) { return a.cost < b.cost; });
    double bestCost = INFINITY;
    for (size_t s = 0; s < std::min<size_t>(1, starts.size()); ++s) {
        Start& start = starts[s];
        const double cost = fit.Run(start.p, start.lambda, 30);
        if (cost < bestCost) {
            bestCost = cost;
            for (int i = 0; i < kFormants; ++i) {
                best.formants.frequenciesHz[i] = std::exp(start.p[i]);
                best.formants.bandwidthsHz[i] = std::exp(start.p[kFormants + i]);
            }
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
        Eigen::VectorXd coefficients(order + 1);
        for (int i = 0; i <= order; ++i)
            coefficients[i] = a[order - i];
        Eigen::PolynomialSolver<double, Eigen::Dynamic> solver;
        solver.compute(coefficients);
        std::vector<std::pair<double, double>> found;
        for (const auto& root : solver.roots()) {
            if (root.imag() <= 0)
                continue;
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
