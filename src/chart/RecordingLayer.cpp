#include "chart/RecordingLayer.h"

#include "chart/ContinuousScale.h"

ChartPointF RecordingPosition(const ChartScale& scale, double f1, double f2) {
    return {FrequencyToXF(scale, f1), FrequencyToYF(scale, f2)};
}

bool InsideChart(ChartPointF point) {
    return point.x >= 0 && point.x <= kChartWidth && point.y >= 0 && point.y <= kChartHeight;
}

RecordingPlace PlaceOf(const ChartScale& scale, const ChartRecording& recording) {
    if (!recording.measured)
        return RecordingPlace::Pending;
    switch (recording.formants.status) {
    case RecordingFormants::Status::Unreadable:
        return RecordingPlace::Unreadable;
    case RecordingFormants::Status::Unvoiced:
        return RecordingPlace::Unvoiced;
    case RecordingFormants::Status::Voiced:
        break;
    }
    const RecordingFormants& formants = recording.formants;
    return InsideChart(RecordingPosition(scale, formants.f1, formants.f2))
               ? RecordingPlace::OnChart
               : RecordingPlace::OutsideChart;
}

std::vector<RecordingMarker> RecordingMarkers(const ChartScale& scale,
                                              const std::vector<ChartRecording>& recordings,
                                              int selected, bool tracks) {
    std::vector<RecordingMarker> markers;
    for (size_t i = 0; i < recordings.size(); ++i) {
        const ChartRecording& recording = recordings[i];
        if (PlaceOf(scale, recording) != RecordingPlace::OnChart)
            continue;
        RecordingMarker marker;
        marker.at = RecordingPosition(scale, recording.formants.f1, recording.formants.f2);
        marker.name = RecordingName(recording.path);
        marker.selected = static_cast<int>(i) == selected;
        if (tracks) {
            std::vector<ChartPointF> piece;
            for (const RecordingFormants::Frame& frame : recording.formants.track) {
                const ChartPointF point = RecordingPosition(scale, frame.f1, frame.f2);
                if (InsideChart(point)) {
                    piece.push_back(point);
                    continue;
                }
                if (piece.size() > 1)
                    marker.track.push_back(std::move(piece));
                piece.clear();
            }
            if (piece.size() > 1)
                marker.track.push_back(std::move(piece));
        }
        markers.push_back(std::move(marker));
    }
    return markers;
}

std::string RecordingName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
