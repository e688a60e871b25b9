// Recordings of the wave list as a layer of the chart: each recording's measured F1 and F2
// (the medians of its vowel) and the track of its voiced frames, placed through the chart's
// scales. Plain C++: the window, its export and quirnel-cli place them alike.
#pragma once

#include "chart/ChartGeometry.h"

#include <string>
#include <vector>

// What measuring one recording found.
struct RecordingFormants {
    enum class Status { Voiced, Unvoiced, Unreadable };
    Status status = Status::Unreadable;
    double f1 = 0; // the medians over the vowel's voiced frames, in Hz
    double f2 = 0;
    // F1 and F2 of the voiced frames from the first voiced frame to the last, in time order.
    struct Frame {
        double f1 = 0;
        double f2 = 0;
    };
    std::vector<Frame> track;
    std::string problem; // why an unreadable recording could not be read: "is a folder"
};

// One entry of the wave list on the chart: its path and, once measured, what was found.
struct ChartRecording {
    std::string path;
    bool measured = false;
    RecordingFormants formants;
};

// Where a recording stands with respect to the chart.
enum class RecordingPlace { Pending, Unreadable, Unvoiced, OutsideChart, OnChart };

// A point in chart coordinates, to a fraction of a pixel.
struct ChartPointF {
    double x = 0;
    double y = 0;
};

// A recording drawn on the chart: its marker at (F1, F2), the file name it is known by and,
// where asked, its track (only the frames that fall inside the chart, a break where the
// track leaves it is not bridged: the line stops and starts again).
struct RecordingMarker {
    ChartPointF at;
    std::string name;
    bool selected = false;
    std::vector<std::vector<ChartPointF>> track;
};

// Where F1/F2 lie on the chart under scale, to a fraction of a pixel.
ChartPointF RecordingPosition(const ChartScale& scale, double f1, double f2);
// Inside the chart's frame (x 0..380, y 0..385).
bool InsideChart(ChartPointF point);

// The place of a recording under scale.
RecordingPlace PlaceOf(const ChartScale& scale, const ChartRecording& recording);

// The markers of the recordings that lie on the chart, in list order; selected is the
// index of the wave list's selected entry (-1 for none); tracks adds each one's track.
std::vector<RecordingMarker> RecordingMarkers(const ChartScale& scale,
                                              const std::vector<ChartRecording>& recordings,
                                              int selected, bool tracks);

// The file name of a path (what the wave list shows of it).
std::string RecordingName(const std::string& path);
