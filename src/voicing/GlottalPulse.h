// One glottal cycle of the Liljencrants-Fant model of the glottal flow derivative.
#pragma once

// Timing of one cycle, in seconds from the glottal opening.
struct GlottalTiming {
    double cycle = 0;       // opening to next opening (Tc)
    double peakFlow = 0;    // opening to maximum flow (Tp)
    double closure = 0;     // opening to the main excitation, the steepest fall (Te)
    double returnPhase = 0; // effective duration of the return phase (Ta)
};

// The flow derivative of one cycle: an exponentially growing sinusoid from the opening to
// the main excitation of strength `excitation`, then an exponential return to zero by the end
// of the cycle. The growth factor is chosen so the cycle's net flow is zero, so the flow
// ends each cycle where it started and the pulses can be joined without drift.
class GlottalPulse {
public:
    // False when the timing cannot form a cycle (phases out of order or not positive).
    bool Shape(const GlottalTiming& timing, double excitation);

    // Flow derivative at `t` seconds after the opening; 0 outside the cycle.
    double FlowDerivative(double t) const;

    // Flow from the opening to `t` seconds after it (the integral of the derivative): 0 at
    // the opening and, up to rounding, again at the end of the cycle and after it.
    double Flow(double t) const;

    // Net flow of the cycle (integral of the derivative): 0 up to rounding once shaped.
    double NetFlow() const { return OpenPhaseFlow(m_growth) + ReturnPhaseFlow(); }

    const GlottalTiming& Timing() const { return m_timing; }
    double Excitation() const { return m_excitation; }

private:
    double OpenPhaseFlow(double growth) const;
    double ReturnPhaseFlow() const;
    bool SolveReturnRate();
    bool SolveGrowth();

    GlottalTiming m_timing;
    double m_excitation = 0; // Ee, the magnitude of the negative peak at closure
    double m_omega = 0;      // pi / Tp
    double m_growth = 0;     // alpha
    double m_openGain = 0;   // E0
    double m_returnRate = 0; // epsilon
};
