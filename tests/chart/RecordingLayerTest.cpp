// Recordings on the chart: where a measured F1/F2 lands under each scale and zoom, and which
// recordings are left off.
#include "chart/RecordingLayer.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ChartRecording Voiced(double f1, double f2, std::vector<RecordingFormants::Frame> track = {}) {
    ChartRecording recording;
    recording.path = "/sounds/a.wav";
    recording.measured = true;
    recording.formants.status = RecordingFormants::Status::Voiced;
    recording.formants.f1 = f1;
    recording.formants.f2 = f2;
    recording.formants.track = std::move(track);
    return recording;
}

// Traunmueller's Bark, written out here rather than taken from the chart.
double Bark(double hz) {
    return 26.81 * hz / (1960 + hz) - 0.53;
}

TEST(RecordingLayer, MarkerLiesAtItsFormantsOnEveryScale) {
    // Bark: 0.108 Bark per 5 pixels across from 1.95 Bark, 0.148 Bark down from 4.95.
    ChartScale bark;
    bark.bark = true;
    for (const auto& [f1, f2] : {std::pair{300.0, 2300.0}, {750.0, 1100.0}}) {
        const ChartPointF at = RecordingPosition(bark, f1, f2);
        EXPECT_NEAR(at.x, (Bark(f1) - 1.95) / 0.108 * 5, 0.01) << f1;
        EXPECT_NEAR(at.y, (Bark(f2) - 4.95) / 0.148 * 5, 0.01) << f2;
        // Hz: the chart's own whole steps, less than a step from the continuous place.
        const ChartPointF hz = RecordingPosition(ChartScale{}, f1, f2);
        EXPECT_LT(std::abs(hz.x - FrequencyToX(ChartScale{}, static_cast<int>(f1))), 5) << f1;
        EXPECT_LT(std::abs(hz.y - FrequencyToY(ChartScale{}, static_cast<int>(f2))), 5) << f2;
    }
    // The Hz scale starts at 200 Hz across and 500 Hz down; zoom puts its centre on (190, 192).
    const ChartPointF origin = RecordingPosition(ChartScale{}, 200, 500);
    EXPECT_NEAR(origin.x, 0, 0.01);
    EXPECT_NEAR(origin.y, 0, 0.01);
    const ChartScale zoom{false, true, 25, 480, 1400};
    const ChartPointF centre = RecordingPosition(zoom, 480, 1400);
    EXPECT_NEAR(centre.x, 190, 0.01);
    EXPECT_NEAR(centre.y, 192, 0.01);
    EXPECT_GT(RecordingPosition(zoom, 492, 1435).x, 190 + 20); // a step is a grid cell
}

TEST(RecordingLayer, OnlyVoicedRecordingsInsideTheChartAreDrawnAndTheSelectedIsMarked) {
    ChartRecording unvoiced = Voiced(0, 0);
    unvoiced.formants.status = RecordingFormants::Status::Unvoiced;
    ChartRecording pending;
    pending.path = "b.wav";
    const std::vector<ChartRecording> recordings = {Voiced(500, 1500,
                                                           {{500, 1500},
                                                            {510, 1520},
                                                            {150, 1500},
                                                            {520, 1600},
                                                            {540, 1700},
                                                            {560, 1800},
                                                            {150, 1800},
                                                            {580, 1900}}),
                                                    unvoiced,
                                                    pending,
                                                    Voiced(1800, 1500),
                                                    Voiced(199, 1500),
                                                    Voiced(300, 480),
                                                    Voiced(700, 1100)};
    // The chart's frame is its edge: both ends of either axis are on it, a hair beyond is not.
    for (ChartPointF on : {ChartPointF{0, 0}, ChartPointF{380, 385}})
        EXPECT_TRUE(InsideChart(on)) << on.x << " " << on.y;
    for (ChartPointF off : {ChartPointF{-0.01, 9}, ChartPointF{380.01, 9}, ChartPointF{9, -0.01},
                            ChartPointF{9, 385.01}})
        EXPECT_FALSE(InsideChart(off)) << off.x << " " << off.y;
    const ChartScale scale;
    EXPECT_EQ(PlaceOf(scale, recordings[0]), RecordingPlace::OnChart);
    EXPECT_EQ(PlaceOf(scale, recordings[1]), RecordingPlace::Unvoiced);
    EXPECT_EQ(PlaceOf(scale, recordings[2]), RecordingPlace::Pending);
    for (size_t i : {3u, 4u, 5u})
        EXPECT_EQ(PlaceOf(scale, recordings[i]), RecordingPlace::OutsideChart) << i;
    // Zoomed in elsewhere, the first one falls off the chart too.
    EXPECT_EQ(PlaceOf(ChartScale{false, true, 50, 300, 2500}, recordings[0]),
              RecordingPlace::OutsideChart);

    const std::vector<RecordingMarker> markers = RecordingMarkers(scale, recordings, 6, true);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].name, "a.wav");
    EXPECT_FALSE(markers[0].selected);
    EXPECT_TRUE(markers[1].selected);
    // The track leaves the chart twice: it is drawn in two pieces, and a lone frame is no line.
    ASSERT_EQ(markers[0].track.size(), 2u);
    EXPECT_EQ(markers[0].track[0].size(), 2u);
    EXPECT_EQ(markers[0].track[1].size(), 3u);
    EXPECT_TRUE(markers[1].track.empty());
    EXPECT_TRUE(RecordingMarkers(scale, recordings, -1, false)[0].track.empty());

    // The state shows them only when asked, and finds the one under the mouse.
    ChartState state(nullptr);
    state.SetRecordings(recordings);
    EXPECT_TRUE(state.RecordingMarkersShown().empty());
    EXPECT_EQ(state.RecordingNear(markers[1].at.x, markers[1].at.y, 5), -1);
    state.SetShowRecordings(true);
    EXPECT_EQ(state.RecordingMarkersShown().size(), 2u);
    EXPECT_EQ(state.RecordingNear(markers[1].at.x + 3, markers[1].at.y, 5), 6);
    EXPECT_EQ(state.RecordingNear(markers[1].at.x + 6, markers[1].at.y, 5), -1);
}

} // namespace
