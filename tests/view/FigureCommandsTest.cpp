// The view's reference vowels, spread, axis labels and Export Chart: what they keep in the
// settings, what they refuse, and that they never replay the chart.
#include "ViewFixture.h"

#include "chart/ContinuousScale.h"
#include "reference/ReferenceSet.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <filesystem>

namespace {

class FigureCommandsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        startDir = g_strStartDir;
        g_strStartDir = QUIRNEL_DATA_DIR; // its reference/ holds the bundled sets
        SetFileDialogs(&dialogs);
        CreateView();
    }
    void TearDown() override {
        SetFileDialogs(nullptr);
        g_strStartDir = startDir;
        ViewTest::TearDown();
    }
    std::string Stored(const char* key) { return profile.GetString("Chart", key, "absent"); }
    // A paint, and whatever it played.
    size_t PlaysOfAPaint() {
        const size_t before = player.played.size();
        Paint();
        return player.played.size() - before;
    }

    ScriptedFileDialogs dialogs;
    std::string startDir;
};

TEST_F(FigureCommandsTest, ChoicesAreStoredWhenMadeAndComeBackWithTheNextView) {
    PlaysOfAPaint();
    EXPECT_EQ(Stored("ReferenceVowels"), "absent"); // nothing is written until chosen
    view->OnCommand(ID_REFERENCE_FIRST + 4);
    view->OnCommand(ID_REFERENCE_SPREAD);
    view->OnCommand(ID_AXIS_LABELS);
    EXPECT_EQ(PlaysOfAPaint(), 0u);
    EXPECT_EQ(Stored("ReferenceVowels"), ReferenceSets()[4].key);
    EXPECT_EQ(Stored("ReferenceSpread"), "1");
    EXPECT_EQ(Stored("AxisLabels"), "1");
    EXPECT_TRUE(view->OnUpdateCommand(ID_REFERENCE_FIRST + 4).checked);
    // A click on a reference symbol plays the point clicked, as any click does.
    const ReferenceVowel& vowel = view->State().Reference()->vowels.front();
    const ChartScale scale;
    const QPoint mean(std::lround(FrequencyToXF(scale, vowel.meanF1)) + kChartLeft,
                      std::lround(FrequencyToYF(scale, vowel.meanF2)));
    view->OnLButtonDown(mean.x(), mean.y());
    EXPECT_EQ(PlaysOfAPaint(), 1u);
    EXPECT_EQ(view->State().SelectedPoint(), (ChartPoint{mean.x() - kChartLeft, mean.y()}));

    view.reset();
    CreateView();
    ASSERT_NE(view->State().Reference(), nullptr);
    EXPECT_EQ(view->State().Reference()->label, "van Nierop et al. 1973: women");
    EXPECT_TRUE(view->State().ShowsReferenceSpread());
    EXPECT_TRUE(view->State().ShowsAxisLabels());
    view->OnCommand(ID_REFERENCE_NONE);
    EXPECT_EQ(view->State().Reference(), nullptr);
    EXPECT_EQ(Stored("ReferenceVowels"), "");
    EXPECT_TRUE(messages.Texts().empty());
}

// The window draws the reference vowels, their spread and the axis labels with DrawChart
// too: drawn onto an image, the chart is what the view shows.
TEST_F(FigureCommandsTest, TheViewShowsTheOverlaysAsDrawChartDrawsThem) {
    view->OnCommand(ID_REFERENCE_FIRST + 2);
    view->OnCommand(ID_REFERENCE_SPREAD);
    view->OnCommand(ID_AXIS_LABELS);
    view->OnLButtonDown(200, 150);
    const auto [shown, drawn] = ShownAndDrawnChart();
    EXPECT_EQ(drawn, shown);
    int reference = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            reference += shown.pixel(x, y) == kReferenceColour.rgb();
    EXPECT_GT(reference, 50);
}

TEST_F(FigureCommandsTest, ABadTableIsReportedByItsLineAndChangesNothing) {
    view->OnCommand(ID_REFERENCE_FIRST);
    std::ofstream(temp.File("bad.csv")) << "ipa,F1,F2\ni,300,2300\nu,320\n";
    dialogs.Answer(temp.File("bad.csv"));
    view->OnCommand(ID_REFERENCE_LOAD);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find("line 3"), std::string::npos) << messages.Texts()[0];
    EXPECT_EQ(view->State().Reference()->choice, ReferenceSets()[0].key);
    EXPECT_EQ(Stored("ReferenceVowels"), ReferenceSets()[0].key);

    std::ofstream(temp.File("mine.csv")) << "vowel,F1,F2\ni,300,2300\n";
    dialogs.Answer(temp.File("mine.csv"));
    view->OnCommand(ID_REFERENCE_LOAD);
    EXPECT_EQ(view->State().Reference()->label, "mine.csv");
    EXPECT_TRUE(view->OnUpdateCommand(ID_REFERENCE_LOAD).checked);
    EXPECT_EQ(Stored("ReferenceVowels"), temp.File("mine.csv"));
}

TEST_F(FigureCommandsTest, ExportChartWritesTheFormatOfTheNameOrRefusesIt) {
    dialogs.Answer(temp.File("chart.png"));
    view->OnCommand(ID_EXPORT_CHART);
    EXPECT_EQ(QImage(QString::fromStdString(temp.File("chart.png"))).size(), QSize(760, 770));
    dialogs.Answer(temp.File("chart.jpg"));
    view->OnCommand(ID_EXPORT_CHART);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find(".svg, .pdf or .png"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(temp.File("chart.jpg")));
    // The next export starts where the last one went, whatever the documents' folder is.
    const std::string documents = g_strVowDir;
    g_strVowDir = "/";
    dialogs.Answer("");
    view->OnCommand(ID_EXPORT_CHART);
    g_strVowDir = documents;
    EXPECT_EQ(dialogs.folders.back(), temp.Path());
}

} // namespace
