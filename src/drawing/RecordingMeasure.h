// Measures one recording for the chart: reads it with the bounded sound reader and finds the
// medians of its vowel and the track of its voiced frames (each frame the median of the five
// around it). Thread-safe: the window measures
// in the background with it, quirnel-cli chart in the foreground.
#pragma once

#include "chart/RecordingLayer.h"

#include <atomic>
#include <string>

// When stop is given and becomes true, measuring ends soon and what it returns means nothing.
RecordingFormants MeasureRecordingFile(const std::string& path,
                                       const std::atomic<bool>* stop = nullptr);
