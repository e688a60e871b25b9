// Renders as a new process would, without disturbing the runs of the chart.
#pragma once

#include "synth/FrameSynth.h"

#include <cstdint>

// While it lives, the values the frame synthesis carries from one run into the next (the
// tilt filter's and the source's last values, the sign of the period skew) start from zero,
// as in a new process, so that the same vowel always gives the same samples; they are put
// back when it goes, so that the chart plays on as if nothing had been rendered in between.
class FreshEngineRun {
public:
    FreshEngineRun() : m_tiltMemory(vPrev), m_sourceMemory(gpPrev), m_skewSign(skewSign) {
        vPrev = gpPrev = 0.0f;
        skewSign = 0;
    }
    ~FreshEngineRun() {
        vPrev = m_tiltMemory;
        gpPrev = m_sourceMemory;
        skewSign = m_skewSign;
    }
    FreshEngineRun(const FreshEngineRun&) = delete;
    FreshEngineRun& operator=(const FreshEngineRun&) = delete;

private:
    float m_tiltMemory;
    float m_sourceMemory;
    int32_t m_skewSign;
};
