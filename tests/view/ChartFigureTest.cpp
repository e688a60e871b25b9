// The chart as a figure: one export per format, the reference vowels' places in an SVG, and
// quirnel-cli chart's refusals.
#include "drawing/ChartFigure.h"
#include "TempDir.h"
#include "chart/ChartState.h"
#include "chart/ContinuousScale.h"
#include "chart/RecordingLayer.h"
#include "doc/TundrelDoc.h"
#include "drawing/ChartDrawing.h"
#include "reference/ReferenceChoice.h"

#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/wait.h>

namespace {

struct SvgText {
    double x = 0;
    double y = 0;
    QString fill;
};

// The text elements of an SVG by their text; false when it is not well-formed XML.
bool ReadSvgTexts(const QByteArray& svg, QString& viewBox, std::multimap<QString, SvgText>& texts) {
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("svg"))
            viewBox = attributes.value("viewBox").toString();
        if (xml.name() == QLatin1String("text")) {
            const SvgText text{attributes.value("x").toDouble(), attributes.value("y").toDouble(),
                               attributes.value("fill").toString()};
            texts.emplace(xml.readElementText(), text);
        }
    }
    return !xml.hasError();
}

class ChartFigureTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string problem;
        ASSERT_TRUE(LoadReferenceChoice("peterson-barney-1952:men", {QUIRNEL_DATA_DIR "/reference"},
                                        reference, problem))
            << problem;
        state.SetReference(reference);
        state.SetReferenceSpread(true);
        state.SetAxisLabels(true);
        state.ToggleMap(ChartMap::Formant);
    }

    CTundrelDoc doc;
    ChartState state{&doc};
    ReferenceChoice reference;
    const ChartLook look = ChooseChartLook();
};

TEST_F(ChartFigureTest, SvgKeepsTheSymbolsAsTextInTheirPlaces) {
    QString viewBox;
    std::multimap<QString, SvgText> texts;
    ASSERT_TRUE(ReadSvgTexts(DrawChartFigure(state, look, FigureFormat::Svg), viewBox, texts));
    EXPECT_EQ(viewBox, "0 0 380 385");
    EXPECT_EQ(texts.count("1000 Hz"), 1u); // the last F1 label names the unit
    std::map<std::string, SvgText> placed;
    for (const auto& [symbol, text] : texts)
        if (text.fill == kReferenceColour.name())
            placed[symbol.toStdString()] = text;
    ASSERT_EQ(placed.size(), reference.vowels.size());
    // A lower mean F1 lies further left, a higher mean F2 lower, for every two vowels whose
    // means lie at least a symbol's width apart on the chart.
    const ChartScale scale;
    constexpr double kSymbolWidth = 24;
    int pairs = 0;
    for (const ReferenceVowel& a : reference.vowels) {
        for (const ReferenceVowel& b : reference.vowels) {
            if (FrequencyToXF(scale, a.meanF1) + kSymbolWidth < FrequencyToXF(scale, b.meanF1)) {
                EXPECT_LT(placed[a.symbol].x, placed[b.symbol].x) << a.symbol << " " << b.symbol;
                ++pairs;
            }
            if (FrequencyToYF(scale, a.meanF2) + kSymbolWidth < FrequencyToYF(scale, b.meanF2)) {
                EXPECT_LT(placed[a.symbol].y, placed[b.symbol].y) << a.symbol << " " << b.symbol;
                ++pairs;
            }
        }
    }
    EXPECT_GT(pairs, 70); // of the 90 pairs of ten vowels (45 on each axis)
}

TEST_F(ChartFigureTest, PdfIsOnePageOfTheChartsSizeWithTextAndPngTwiceItsPixels) {
    const QByteArray pdf = DrawChartFigure(state, look, FigureFormat::Pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 380.000000 385.000000]"));
    EXPECT_TRUE(pdf.contains("/ToUnicode")); // the symbols are text, not outlines

    const QImage png = QImage::fromData(DrawChartFigure(state, look, FigureFormat::Png), "PNG");
    ASSERT_EQ(png.size(), QSize(760, 770));
    EXPECT_EQ(png.pixel(0, 0), qRgb(0, 0, 0)); // the frame's corner
    int reference = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            reference += png.pixel(x, y) == kReferenceColour.rgb();
    EXPECT_GT(reference, 1000);
    EXPECT_EQ(FigureFormatOfName("a/chart.SVG"), FigureFormat::Svg);
    EXPECT_EQ(FigureFormatOfName("chart.svg.gz"), FigureFormat::Unknown);
}

// The wave list's recordings: drawn only when shown, as violet diamonds at their F1/F2 on
// the scale shown, the selected one larger; with them off the chart is the same, pixel for
// pixel, as one without any.
TEST_F(ChartFigureTest, RecordingsAreDrawnAtTheirFormantsOnlyWhenShown) {
    const auto png = [this] {
        return QImage::fromData(DrawChartFigure(state, look, FigureFormat::Png), "PNG");
    };
    const QImage before = png();
    ChartRecording recording;
    recording.path = "/sounds/a.wav";
    recording.measured = true;
    recording.formants.status = RecordingFormants::Status::Voiced;
    recording.formants.f1 = 640;
    recording.formants.f2 = 2100;
    ChartRecording second = recording;
    second.formants.f1 = 300;
    second.formants.f2 = 900;
    state.SetRecordings({recording, second});
    state.SetSelectedRecording(0);
    EXPECT_EQ(png(), before);

    state.SetShowRecordings(true);
    // Violet pixels around a place, in the PNG's doubled pixels.
    const auto violetAround = [](const QImage& image, ChartPointF at, int radius) {
        int count = 0;
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                count += image.pixel(static_cast<int>(at.x * 2) + dx,
                                     static_cast<int>(at.y * 2) + dy) == kRecordingColour.rgb();
        return count;
    };
    for (bool bark : {false, true}) {
        state.SetBark(bark);
        const QImage shown = png();
        const ChartPointF selected = RecordingPosition(state.Scale(), 640, 2100);
        const ChartPointF other = RecordingPosition(state.Scale(), 300, 900);
        EXPECT_EQ(shown.pixel(static_cast<int>(selected.x * 2), static_cast<int>(selected.y * 2)),
                  kRecordingColour.rgb());
        EXPECT_GT(violetAround(shown, selected, 10), violetAround(shown, other, 10) + 20) << bark;
        EXPECT_GT(violetAround(shown, other, 10), 20) << bark;
    }
}

// quirnel-cli chart, run in the data folder, where it finds reference/.
class CliChart : public ::testing::Test {
protected:
    int Run(const std::string& args) {
        const std::string cli = QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli";
        const int status = std::system(
            ("cd '" QUIRNEL_DATA_DIR "' && '" + cli + "' chart " + args + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Out(const char* name) const { return "'" + dir.File(name) + "'"; }
    bool Exists(const char* name) const { return std::filesystem::exists(dir.File(name)); }
    TempDir dir;
};

TEST_F(CliChart, DrawsTheChartAndRefusesBadValuesWithoutWritingAFile) {
    const std::string out = " --out " + Out("chart.svg");
    for (const std::string& bad :
         {"--gender child" + out, "--set klingon" + out, "--map everything" + out,
          "--scale mel" + out, "--reference peterson-barney-1952:babies" + out,
          "--spread=yes" + out, "extra" + out, "--out " + Out("chart.jpg"), std::string()})
        EXPECT_EQ(Run(bad), 2) << bad;
    EXPECT_FALSE(Exists("chart.svg") || Exists("chart.jpg"));
    std::ofstream(dir.File("bad.csv")) << "ipa,F1,F2\ni,0,2300\n";
    EXPECT_EQ(Run("--reference " + Out("bad.csv") + out), 1);
    EXPECT_FALSE(Exists("chart.svg"));

    ASSERT_EQ(
        Run("--reference peterson-barney-1952:women --spread --axes --map all --scale bark" + out),
        0);
    std::ifstream svg(dir.File("chart.svg"));
    const std::string text((std::istreambuf_iterator<char>(svg)), {});
    EXPECT_NE(text.find(">\xc9\xaa</text>"), std::string::npos); // ɪ, as text
    EXPECT_NE(text.find("Peterson &amp; Barney 1952: women"), std::string::npos);
}

// --recordings measures each file of a wave list and draws those with a voice; a file that
// cannot be read is left off, a list that cannot be read is a failure.
TEST_F(CliChart, RecordingsOfAWaveListAreMeasuredAndDrawn) {
    const std::string cli = QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli";
    ASSERT_EQ(std::system(("'" + cli +
                           "' render --voice '" QUIRNEL_DATA_DIR
                           "/Dat/01-male.dat' --f1 650 --f2 1100 --out " +
                           Out("a.wav") + " >/dev/null")
                              .c_str()),
              0);
    std::ofstream(dir.File("list.wlist")) << "a.wav\r\nmissing.wav\r\n";
    const auto svg = [this](const std::string& name) {
        std::ifstream in(dir.File(name));
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    ASSERT_EQ(Run("--out " + Out("plain.svg")), 0);
    ASSERT_EQ(Run("--recordings " + Out("list.wlist") + " --out " + Out("with.svg")), 0);
    ASSERT_EQ(Run("--recordings " + Out("list.wlist") + " --tracks --out " + Out("tracks.svg")), 0);
    const std::string violet = kRecordingColour.name().toStdString();
    EXPECT_EQ(svg("plain.svg").find(violet), std::string::npos);
    EXPECT_NE(svg("with.svg").find(violet), std::string::npos);
    EXPECT_GT(svg("tracks.svg").size(), svg("with.svg").size());
    EXPECT_EQ(Run("--recordings " + Out("none.wlist") + " --out " + Out("x.svg")), 1);
    EXPECT_EQ(Run("--tracks --out " + Out("x.svg")), 2);
    EXPECT_FALSE(Exists("x.svg"));
}

} // namespace
