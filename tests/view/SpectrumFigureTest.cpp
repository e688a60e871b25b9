// The spectrum as a figure, and quirnel-cli spectrum.
#include "CliRunner.h"
#include "drawing/ChartDrawing.h"
#include "drawing/SpectrumDrawing.h"
#include "spectrum/VowelSpectrum.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string kMale = QUIRNEL_DATA_DIR "/Dat/01-male.dat";

int CountColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

// Each format at the figure's size; the source's dashes go when the source is switched off.
TEST(SpectrumFigure, EveryFormatHasTheFiguresSize) {
    const ChartLook look = ChooseChartLook();
    const VowelSpectrum vowel = AnalyseVowel({kMale, 0, 100, 300, 2200, 0, 0, 0});
    SpectrumOptions options;
    const QByteArray svg = DrawSpectrumFigure(vowel, options, look, FigureFormat::Svg);
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 600 340\""));
    EXPECT_TRUE(svg.contains(">F2 2205</text>"));
    const QByteArray pdf = DrawSpectrumFigure(vowel, options, look, FigureFormat::Pdf);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 600.000000 340.000000]"));
    const QImage png =
        QImage::fromData(DrawSpectrumFigure(vowel, options, look, FigureFormat::Png));
    ASSERT_EQ(png.size(), QSize(1200, 680));
    const QRgb source = qRgb(0, 130, 0), filter = qRgb(200, 0, 0);
    EXPECT_GT(CountColour(png, source), 200);
    EXPECT_GT(CountColour(png, filter), 500);
    options.showSource = false;
    options.logFrequency = true;
    const QImage plain =
        QImage::fromData(DrawSpectrumFigure(vowel, options, look, FigureFormat::Png));
    EXPECT_EQ(CountColour(plain, source), 0);
    EXPECT_GT(CountColour(plain, filter), 500);
    const QByteArray logSvg = DrawSpectrumFigure(vowel, options, look, FigureFormat::Svg);
    for (const char* tick : {">50<", ">100<", ">200<", ">500<", ">1000<", ">2000<", ">5000<"})
        EXPECT_TRUE(logSvg.contains(tick)) << tick;
    EXPECT_FALSE(logSvg.contains(">1500<"));
    EXPECT_TRUE(DrawSpectrumFigure(vowel, options, look, FigureFormat::Unknown).isEmpty());

    const VowelSpectrum glide = AnalyseVowel({kMale, 0, 100, 700, 1100, 0, 300, 2200});
    EXPECT_EQ(QImage::fromData(DrawSpectrumFigure(glide, options, look, FigureFormat::Png)).size(),
              QSize(1200, 1120));
}

TEST(CliSpectrum, WritesTheCurvesAndRefusesBadValuesWithoutWritingAFile) {
    if (!CliRunner::Built())
        GTEST_SKIP() << "quirnel-cli is not built";
    CliRunner cli;
    TempDir dir;
    const std::string voice = " --voice '" + kMale + "'";
    const std::string csv = " --out '" + dir.File("s.csv") + "'";
    for (const std::string& bad :
         {"--f1 0 --f2 1500" + csv, "--f1 500 --f2 5001" + csv,
          "--f1 500 --f2 1500 --tilt 25" + csv, "--f1 500 --f2 1500 --frame-ms 0" + csv,
          "--f1 500 --f2 1500 --range-db 10" + csv, "--f1 500 --f2 1500 --f1-end 300" + csv,
          "--f1 500 --f2 1500 --out '" + dir.File("s.jpg") + "'"})
        EXPECT_EQ(cli.Run("spectrum" + voice + " " + bad), 2) << bad;
    EXPECT_EQ(cli.Run("spectrum --voice /nonexistent.dat --f1 500 --f2 1500" + csv), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.csv")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.jpg")));

    ASSERT_EQ(cli.Run("spectrum" + voice + " --f1 1 --f2 5000 --tilt 24 --frame-ms 2000" + csv), 0)
        << cli.Stderr();
    ASSERT_EQ(cli.Run("spectrum" + voice + " --f1 300 --f2 2200 --tilt 0 --frame-ms 1" + csv), 0)
        << cli.Stderr();
    std::ifstream in(dir.File("s.csv"));
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "frequency_hz,sound_db,filter_db,source_db");
    ASSERT_EQ(cli.Run("spectrum" + voice + " --f1 300 --f2 2200 --out '" + dir.File("s.svg") + "'"),
              0)
        << cli.Stderr();
    EXPECT_GT(std::filesystem::file_size(dir.File("s.svg")), 10000u);
}

} // namespace
