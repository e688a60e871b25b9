// Measures one recording for the chart: reads it with the bounded sound reader and finds the
// medians of its vowel and the track of its voiced frames (each frame the median of the five
// around it). Thread-safe: the window measures
// in the background with it, quirnel-cli chart in the foreground.
#pragma once

#include "view/RecordingLayer.h"

#include <string>

RecordingFormants MeasureRecordingFile(const std::string& path);
