// Tests of the chart's pixels: frame, F3 area, grid, markers and symbols.
#include "ViewFixture.h"

#include <QColor>
#include <QPainter>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGrey = qRgb(192, 192, 192);

// The bounding box of the pixels that are not white inside box.
QRect InkBox(const QImage& image, const QRect& box) {
    QRect ink;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (image.pixel(x, y) != kWhite)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

class DrawingTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        CreateView();
        view->resize(472, 385);
    }
};

TEST_F(DrawingTest, ChartIsABlackFrameAroundWhite) {
    view->OnLButtonDown(400, 350); // keep the marker out of the way
    const QImage image = Paint();
    for (int y : {0, 100, 384}) {
        EXPECT_EQ(image.pixel(50, y), kBlack) << y;
        EXPECT_EQ(image.pixel(429, y), kBlack) << y;
    }
    for (int x : {50, 200, 429}) {
        EXPECT_EQ(image.pixel(x, 0), kBlack) << x;
        EXPECT_EQ(image.pixel(x, 384), kBlack) << x;
    }
    EXPECT_EQ(image.pixel(51, 1), kWhite);
    EXPECT_EQ(image.pixel(428, 383), kWhite);
    EXPECT_EQ(image.pixel(240, 200), kWhite);
}

TEST_F(DrawingTest, F3AreaIsLightGreyWhileTheAdvancedControlsAreHidden) {
    QImage image = Paint();
    EXPECT_EQ(image.pixel(430, 172), kGrey);
    EXPECT_EQ(image.pixel(469, 364), kGrey);
    EXPECT_EQ(image.pixel(450, 250), kGrey);
    EXPECT_NE(image.pixel(450, 171), kGrey);
    EXPECT_NE(image.pixel(450, 365), kGrey);
    EXPECT_EQ(view->RequiredClientSize(), QSize(430, 385));
    view->OnCommand(ID_ADVANCED_CONTROLS);
    EXPECT_EQ(view->RequiredClientSize(), QSize(472, 385));
    view->resize(472, 385);
    image = Paint();
    EXPECT_NE(image.pixel(465, 250), kGrey);
}

TEST_F(DrawingTest, GridLinesLieOnEveryGridStepInZoomMode) {
    view->OnCommand(ID_SHOW_GRID); // grid without zoom: nothing drawn
    view->OnLButtonDown(400, 350);
    QImage image = Paint();
    EXPECT_EQ(image.pixel(75, 200), kWhite);
    view->OnCommand(ID_ZOOM);
    view->OnLButtonDown(420, 370); // snaps to (387, 362): away from the probes
    image = Paint();
    for (int x = 75; x < 430; x += 25) {
        EXPECT_EQ(image.pixel(x, 1), kGrey) << x;
        EXPECT_EQ(image.pixel(x, 150), kGrey) << x;
        EXPECT_EQ(image.pixel(x, 383), kGrey) << x;
        EXPECT_EQ(image.pixel(x + 1, 140), kWhite) << x;
    }
    for (int y = 25; y < 385; y += 25) {
        EXPECT_EQ(image.pixel(51, y), kGrey) << y;
        EXPECT_EQ(image.pixel(428, y), kGrey) << y;
        EXPECT_EQ(image.pixel(140, y + 1), kWhite) << y;
    }
    // The horizontal lines run over the frame, which was drawn first.
    EXPECT_EQ(image.pixel(50, 25), kGrey);
    EXPECT_EQ(image.pixel(50, 26), kBlack);
}

TEST_F(DrawingTest, PositionMarkerIsCentredOnItsAnchor) {
    doc.StoreEntry(28, 1000, 600, 2700, 100, kMale, kCardinal); // a blank: no symbol drawn
    view->OnCommand(ID_TYPE_SCHWA);
    view->OnCommand(ID_USER_MAP);
    view->OnLButtonDown(400, 350);
    const QImage image = Paint();
    const ChartScale scale;
    const QPoint anchor(FrequencyToX(scale, 1000) + 50, FrequencyToY(scale, 600));
    const QRect ink = InkBox(image, QRect(anchor - QPoint(7, 7), QSize(15, 15)));
    EXPECT_EQ(ink, QRect(anchor - QPoint(2, 2), QSize(5, 5)));
    const QColor centre(image.pixel(anchor));
    EXPECT_GT(centre.red(), 2 * centre.blue()); // a red dot for a stored position
}

TEST_F(DrawingTest, SelectedPointMarkerSitsOnThePoint) {
    view->OnLButtonDown(300, 200);
    const QImage image = Paint();
    const QRect ink = InkBox(image, QRect(280, 180, 40, 40));
    EXPECT_EQ(ink, QRect(296, 196, 8, 8));
}

TEST_F(DrawingTest, FormantMapDrawsSymbolsLeftOfAndAboveTheirAnchors) {
    view->OnLButtonDown(400, 350);
    const QImage plain = Paint();
    view->OnCommand(ID_FORMANT_MAP);
    const QImage map = Paint();
    const ChartScale scale;
    const QPoint anchor(FrequencyToX(scale, 700) + 50, FrequencyToY(scale, 1000)); // 0x41
    EXPECT_EQ(InkBox(plain, QRect(anchor - QPoint(30, 30), QSize(30, 28))), QRect());
    EXPECT_FALSE(InkBox(map, QRect(anchor - QPoint(30, 30), QSize(30, 28))).isEmpty());
    EXPECT_EQ(InkBox(map, QRect(anchor + QPoint(3, 3), QSize(20, 20))), QRect());
    if (view->Look().hasSymbolFont) {
        const QColor dot(map.pixel(anchor + QPoint(1, 1)));
        EXPECT_GT(dot.blue(), 2 * dot.red()); // a blue dot for a preset position
    }
}

TEST_F(DrawingTest, GrayMapDrawsEveryPresetInLightGrey) {
    view->OnLButtonDown(420, 370);
    view->OnCommand(ID_GRAY_MAP);
    const QImage image = Paint();
    int grey = 0;
    int black = 0;
    for (int y = 1; y < 340; ++y) {
        for (int x = 51; x < 429; ++x) {
            const QRgb pixel = image.pixel(x, y);
            grey += pixel != kWhite && qRed(pixel) == qGreen(pixel) && qRed(pixel) >= 192;
            black += qRed(pixel) < 100;
        }
    }
    EXPECT_GT(grey, 500);
    EXPECT_EQ(black, 0);
}

// The chart is drawn from the state alone: drawn onto an image it is what the view shows.
TEST_F(DrawingTest, ChartDrawnOntoAnImageIsWhatTheViewShows) {
    view->OnCommand(ID_FORMANT_MAP);
    view->OnCommand(ID_GRAY_MAP);
    view->OnCommand(ID_MODE_DIPHTHONG);
    view->OnRButtonDown(300, 300);
    view->OnLButtonDown(200, 150);
    const auto [shown, drawn] = ShownAndDrawnChart();
    EXPECT_EQ(drawn, shown);
}

TEST(ViewPictures, AreCompiledInWithTheirSizes) {
    for (const char* picture : {kPictureSelectedPoint, kPictureEndPoint})
        EXPECT_EQ(QImage(PictureResource(picture)).size(), QSize(8, 8)) << picture;
    for (const char* picture : {kPicturePreset, kPictureStored})
        EXPECT_EQ(QImage(PictureResource(picture)).size(), QSize(5, 5)) << picture;
    EXPECT_EQ(QImage(PictureResource(kPictureGrayMap)).size(), QSize(378, 380));
}

} // namespace
