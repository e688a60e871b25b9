// The psychometric function of one response label: a logistic curve fitted by maximum
// likelihood to how often the label was given at each step, with the 50 % boundary, the
// slope and the 95 % interval of the boundary.
#pragma once

#include <string>
#include <vector>

// How often the label was given (`chosen`) out of `trials` at a place x on the continuum.
struct StepCount {
    double x = 0;
    int chosen = 0;
    int trials = 0;
};

struct LogisticFit {
    // A boundary was found: fitted, or (when the slope is not estimable) where the observed
    // proportions cross 50 %.
    bool hasBoundary = false;
    double boundary = 0; // in the units of x
    // The fitted model logit(p) = intercept + slope * x and its covariance.
    bool slopeEstimable = false;
    double intercept = 0, slope = 0;
    double varIntercept = 0, varSlope = 0, covariance = 0;
    double deviance = 0;
    // The 95 % interval of the boundary (Fieller's, from the covariance); absent when the
    // slope is not clearly different from zero (then the interval is unbounded).
    bool hasInterval = false;
    double low = 0, high = 0;
    int trials = 0;
    std::string message; // why something is missing ("" when all is there)
};

// Fits by iteratively reweighted least squares. Separated answers (every answer one way
// below a place and the other way above it, or with one mixed step between) have no finite
// maximum-likelihood slope: the boundary then comes from the observed proportions and the
// message says that the slope is not estimable. A label given at every step or at none has
// no boundary. Nothing returned is ever infinite or NaN.
LogisticFit FitLogistic(const std::vector<StepCount>& counts);

// The standard normal distribution and its inverse.
double NormalCdf(double z);
double NormalQuantile(double p);
