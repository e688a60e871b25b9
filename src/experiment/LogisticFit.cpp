#include "experiment/LogisticFit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kZ95 = 1.959963984540054;
constexpr int kMostIterations = 100;

// Where the observed proportions first cross 50 % going along x (linearly between the
// steps on either side); false when they never do.
bool ObservedCrossing(std::vector<StepCount> counts, double& at) {
    std::sort(counts.begin(), counts.end(),
              [](const StepCount& a, const StepCount& b) { return a.x < b.x; });
    auto proportion = [](const StepCount& c) { return double(c.chosen) / c.trials; };
    for (size_t i = 0; i < counts.size(); ++i) {
        const double p = proportion(counts[i]);
        if (p == 0.5) {
            at = counts[i].x;
            return true;
        }
        if (i + 1 < counts.size()) {
            const double q = proportion(counts[i + 1]);
            if ((p - 0.5) * (q - 0.5) < 0) {
                at = counts[i].x + (0.5 - p) / (q - p) * (counts[i + 1].x - counts[i].x);
                return true;
            }
        }
    }
    return false;
}

// Whether a single place divides the answers: the label only on one side of it (a step
// at the place itself may hold both). Then the likelihood grows without end as the
// slope does.
bool Separated(const std::vector<StepCount>& counts) {
    double lowestChosen = INFINITY, highestChosen = -INFINITY;
    double lowestOther = INFINITY, highestOther = -INFINITY;
    for (const StepCount& c : counts) {
        if (c.chosen > 0) {
            lowestChosen = std::min(lowestChosen, c.x);
            highestChosen = std::max(highestChosen, c.x);
        }
        if (c.trials - c.chosen > 0) {
            lowestOther = std::min(lowestOther, c.x);
            highestOther = std::max(highestOther, c.x);
        }
    }
    return highestChosen <= lowestOther || highestOther <= lowestChosen;
}

double LogLikelihood(const std::vector<StepCount>& counts, double a, double b) {
    double sum = 0;
    for (const StepCount& c : counts) {
        const double eta = a + b * c.x;
        // log p = -log(1 + e^-eta), log(1 - p) = -log(1 + e^eta), computed without overflow.
        const double logP = -std::log1p(std::exp(-std::abs(eta))) - std::max(-eta, 0.0);
        const double logQ = -std::log1p(std::exp(-std::abs(eta))) - std::max(eta, 0.0);
        sum += c.chosen * logP + (c.trials - c.chosen) * logQ;
    }
    return sum;
}

} // namespace

double NormalCdf(double z) {
    return 0.5 * std::erfc(-z / std::sqrt(2.0));
}

double NormalQuantile(double p) {
    if (p <= 0)
        return -40;
    if (p >= 1)
        return 40;
    double low = -40, high = 40;
    for (int i = 0; i < 200 && high - low > 1e-15; ++i) {
        const double mid = 0.5 * (low + high);
        (NormalCdf(mid) < p ? low : high) = mid;
    }
    return 0.5 * (low + high);
}

LogisticFit FitLogistic(const std::vector<StepCount>& input) {
    LogisticFit fit;
    std::vector<StepCount> counts;
    for (const StepCount& c : input) {
        if (c.trials > 0)
            counts.push_back(c);
        fit.trials += std::max(c.trials, 0);
    }
    int chosen = 0;
    std::vector<double> places;
    for (const StepCount& c : counts) {
        chosen += c.chosen;
        if (std::find(places.begin(), places.end(), c.x) == places.end())
            places.push_back(c.x);
    }
    if (chosen == 0 || chosen == fit.trials) {
        fit.message = chosen == 0 ? "the label was never given: no boundary"
                                  : "the label was given every time: no boundary";
        return fit;
    }
    if (places.size() < 2) {
        fit.message = "all answers are at one step: no curve";
        return fit;
    }
    if (Separated(counts)) {
        fit.hasBoundary = ObservedCrossing(counts, fit.boundary);
        fit.message = "slope not estimable: the answers are separated";
        return fit;
    }

    // Newton-Raphson (= IRLS for the canonical link) with step halving.
    const int n = static_cast<int>(counts.size());
    Eigen::MatrixXd x(n, 2);
    Eigen::VectorXd y(n), m(n);
    for (int i = 0; i < n; ++i) {
        x(i, 0) = 1;
        x(i, 1) = counts[i].x;
        y(i) = counts[i].chosen;
        m(i) = counts[i].trials;
    }
    Eigen::Vector2d beta(0, 0);
    double logLikelihood = LogLikelihood(counts, 0, 0);
    Eigen::Matrix2d information = Eigen::Matrix2d::Zero();
    bool converged = false;
    for (int iteration = 0; iteration < kMostIterations && !converged; ++iteration) {
        const Eigen::VectorXd eta = x * beta;
        Eigen::VectorXd mu(n), w(n);
        for (int i = 0; i < n; ++i) {
            const double p = 1 / (1 + std::exp(-eta(i)));
            mu(i) = m(i) * p;
            w(i) = m(i) * p * (1 - p);
        }
        information = x.transpose() * w.asDiagonal() * x;
        const Eigen::Vector2d score = x.transpose() * (y - mu);
        const Eigen::Vector2d step = information.ldlt().solve(score);
        if (!step.allFinite())
            break;
        double scale = 1;
        Eigen::Vector2d next = beta + step;
        double nextLikelihood = LogLikelihood(counts, next(0), next(1));
        while (nextLikelihood < logLikelihood - 1e-12 && scale > 1e-6) {
            scale /= 2;
            next = beta + scale * step;
            nextLikelihood = LogLikelihood(counts, next(0), next(1));
        }
        converged =
            std::abs(nextLikelihood - logLikelihood) < 1e-10 * (1 + std::abs(logLikelihood)) &&
            step.norm() < 1e-8 * (1 + beta.norm());
        beta = next;
        logLikelihood = nextLikelihood;
    }
    // The information at the estimate, for the covariance.
    {
        const Eigen::VectorXd eta = x * beta;
        Eigen::VectorXd w(n);
        for (int i = 0; i < n; ++i) {
            const double p = 1 / (1 + std::exp(-eta(i)));
            w(i) = m(i) * p * (1 - p);
        }
        information = x.transpose() * w.asDiagonal() * x;
    }
    const Eigen::Matrix2d covariance = information.inverse();
    if (!converged || !beta.allFinite() || !covariance.allFinite() || beta(1) == 0) {
        fit.hasBoundary = ObservedCrossing(counts, fit.boundary);
        fit.message = "slope not estimable: the fit does not converge";
        return fit;
    }
    fit.slopeEstimable = true;
    fit.intercept = beta(0);
    fit.slope = beta(1);
    fit.varIntercept = covariance(0, 0);
    fit.varSlope = covariance(1, 1);
    fit.covariance = covariance(0, 1);
    fit.deviance = 0;
    for (int i = 0; i < n; ++i) {
        const double p = 1 / (1 + std::exp(-(beta(0) + beta(1) * counts[i].x)));
        const double expected = m(i) * p;
        if (y(i) > 0)
            fit.deviance += 2 * y(i) * std::log(y(i) / expected);
        if (m(i) - y(i) > 0)
            fit.deviance += 2 * (m(i) - y(i)) * std::log((m(i) - y(i)) / (m(i) - expected));
    }
    fit.hasBoundary = true;
    fit.boundary = -fit.intercept / fit.slope;

    // Fieller: the places t where (a + b t)^2 <= z^2 Var(a + b t).
    const double z2 = kZ95 * kZ95;
    const double qa = fit.slope * fit.slope - z2 * fit.varSlope;
    const double qb = 2 * (fit.intercept * fit.slope - z2 * fit.covariance);
    const double qc = fit.intercept * fit.intercept - z2 * fit.varIntercept;
    const double discriminant = qb * qb - 4 * qa * qc;
    if (qa > 0 && discriminant > 0) {
        const double root = std::sqrt(discriminant);
        fit.low = (-qb - root) / (2 * qa);
        fit.high = (-qb + root) / (2 * qa);
        fit.hasInterval = std::isfinite(fit.low) && std::isfinite(fit.high);
    }
    if (!fit.hasInterval)
        fit.message = "the 95 % interval of the boundary is unbounded: the slope is not clearly "
                      "different from zero";
    return fit;
}
