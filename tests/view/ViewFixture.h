// A chart view over a fresh document, with a recording player, volume control, profile and
// message sink, a temporary folder for "temp.wav" and a small voice file of its own.
#pragma once

#include "TempDir.h"
#include "TestFakes.h"
#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"
#include "drawing/ChartDrawing.h"
#include "synth/SynthRun.h"
#include "view/TundrelView.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Writes a voice data file: the sample count, the scale factor, then a sawtooth voicing,
// enough for five frames of 100 ms.
inline void WriteTestVoice(const std::string& path) {
    std::ofstream out(path);
    const int count = 12000;
    out << count << " 1.0\n";
    for (int i = 0; i < count; ++i)
        out << (i % 100) * 40 - 2000 << "\n";
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProfile(&profile);
        g_strTempDir = temp.Path();
        g_strDatDir = temp.Path();
        WriteTestVoice(temp.File("test.dat"));
        WriteTestVoice(temp.File("second.dat"));
    }

    void TearDown() override {
        view.reset();
        ReleaseSynthesis();
        SetProfile(nullptr);
    }

    // Creates the view and runs the initial update, as New does.
    CTundrelView& CreateView() {
        view = std::make_unique<CTundrelView>(&doc, &volume, &player);
        view->SetVoiceFiles(&voiceFiles);
        view->OnInitialUpdate();
        return *view;
    }

    // One paint of the whole view, as the screen would show it.
    QImage Paint() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The chart as the view shows it, and as DrawChart draws the view's state onto an image.
    struct ChartPictures {
        QImage shown;
        QImage drawn;
    };
    ChartPictures ShownAndDrawnChart() {
        const QRect chart(kChartLeft, kChartTop, kChartWidth, kChartHeight);
        const QImage shown = Paint().copy(chart);
        QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            DrawChart(painter, view->State(), view->Look());
        }
        return {shown, image.copy(chart).convertToFormat(QImage::Format_RGB32)};
    }

    std::string TempWav() const { return temp.File("temp.wav"); }

    TempDir temp;
    MemoryProfile profile;
    RecordingMessageSink messages;
    ScopedMessageSink messageGuard{&messages};
    CTundrelDoc doc;
    FakeVolume volume;
    FakePlayer player;
    std::vector<std::string> voiceFiles{"test.dat", "second.dat"};
    std::unique_ptr<CTundrelView> view;
};
