#include "voicing/GlottalPulse.h"

#include <algorithm>
#include <cmath>
#include <numbers>

bool GlottalPulse::Shape(const GlottalTiming& timing, double excitation) {
    const GlottalTiming& t = timing;
    // The open phase must end on the falling half of its sinusoid (Tp < Te < 2 Tp) and the
    // return phase must fit before the next opening.
    if (!(t.peakFlow > 0 && t.closure > t.peakFlow && t.closure < 2 * t.peakFlow &&
          t.returnPhase > 0 && t.closure + t.returnPhase < t.cycle && excitation > 0)) {
        return false;
    }
    m_timing = timing;
    m_excitation = excitation;
    m_omega = std::numbers::pi / t.peakFlow;
    if (!SolveReturnRate() || !SolveGrowth()) {
        return false;
    }
    m_openGain = -m_excitation / (std::exp(m_growth * t.closure) * std::sin(m_omega * t.closure));
    return true;
}

double GlottalPulse::FlowDerivative(double t) const {
    const GlottalTiming& g = m_timing;
    if (t < 0 || t >= g.cycle) {
        return 0;
    }
    if (t <= g.closure) {
        return m_openGain * std::exp(m_growth * t) * std::sin(m_omega * t);
    }
    double closed = std::exp(-m_returnRate * (g.cycle - g.closure));
    return -m_excitation / (m_returnRate * g.returnPhase) *
           (std::exp(-m_returnRate * (t - g.closure)) - closed);
}

double GlottalPulse::Flow(double t) const {
    const GlottalTiming& g = m_timing;
    if (t <= 0) {
        return 0;
    }
    double te = g.closure;
    if (t <= te) {
        // E0 exp(alpha t) written as -Ee exp(alpha (t - Te)) / sin(omega Te), which stays
        // finite for a large growth factor.
        double s = std::sin(m_omega * te);
        double bracket = std::exp(m_growth * (t - te)) *
                             (m_growth * std::sin(m_omega * t) - m_omega * std::cos(m_omega * t)) +
                         m_omega * std::exp(-m_growth * te);
        return -m_excitation / s * bracket / (m_growth * m_growth + m_omega * m_omega);
    }
    double e = m_returnRate;
    double since = std::min(t, g.cycle) - te;
    double closed = std::exp(-e * (g.cycle - te));
    double returned =
        -m_excitation / (e * g.returnPhase) * ((1 - std::exp(-e * since)) / e - since * closed);
    return OpenPhaseFlow(m_growth) + returned;
}

// Integral of the open phase for growth factor `growth`, written so that it stays finite
// for large positive growth.
double GlottalPulse::OpenPhaseFlow(double growth) const {
    double te = m_timing.closure;
    double s = std::sin(m_omega * te);
    double c = std::cos(m_omega * te);
    double bracket = growth * s - m_omega * c + m_omega * std::exp(-growth * te);
    return -m_excitation / s * bracket / (growth * growth + m_omega * m_omega);
}

double GlottalPulse::ReturnPhaseFlow() const {
    double tb = m_timing.cycle - m_timing.closure;
    double e = m_returnRate;
    double tail = std::exp(-e * tb);
    return -m_excitation / (e * m_timing.returnPhase) * ((1 - tail) / e - tb * tail);
}

// The return rate epsilon satisfies epsilon Ta = 1 - exp(-epsilon (Tc - Te)), which makes
// the derivative continuous at closure; solved by Newton's method from 1 / Ta.
bool GlottalPulse::SolveReturnRate() {
    double ta = m_timing.returnPhase;
    double tb = m_timing.cycle - m_timing.closure;
    double e = 1 / ta;
    for (int i = 0; i < 100; ++i) {
        double tail = std::exp(-e * tb);
        double step = (e * ta - 1 + tail) / (ta - tb * tail);
        e -= step;
        if (std::abs(step) < 1e-12 * e) {
            break;
        }
    }
    m_returnRate = e;
    return std::isfinite(e) && e > 0;
}

// The growth factor alpha makes the net flow zero. The open-phase flow falls from +inf to
// 0 as alpha grows while the return-phase flow is negative, so bisection finds the root.
bool GlottalPulse::SolveGrowth() {
    double target = -ReturnPhaseFlow();
    double low = -1 / m_timing.cycle;
    double high = 1 / m_timing.cycle;
    for (int i = 0; i < 60 && OpenPhaseFlow(low) < target; ++i) {
        low *= 2;
    }
    for (int i = 0; i < 60 && OpenPhaseFlow(high) > target; ++i) {
        high *= 2;
    }
    if (!(OpenPhaseFlow(low) >= target && OpenPhaseFlow(high) <= target)) {
        return false;
    }
    for (int i = 0; i < 200 && high - low > 1e-12 * (std::abs(low) + std::abs(high)); ++i) {
        double mid = 0.5 * (low + high);
        (OpenPhaseFlow(mid) > target ? low : high) = mid;
    }
    m_growth = 0.5 * (low + high);
    return true;
}
