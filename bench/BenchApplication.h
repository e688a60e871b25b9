// The one Qt application object of the benchmark program, shared by every benchmark.
#pragma once

#ifdef QUIRNEL_BENCH_WIDGETS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

// A QApplication when the window's benchmarks are built (on the offscreen platform unless
// one is chosen), so that the sound player's and the window's benchmarks can share it;
// a QCoreApplication otherwise. Qt allows only one per process. It is never destroyed: a
// QApplication destroyed among the static objects at exit outlives parts of Qt it needs.
inline QCoreApplication& BenchApplication() {
    static int argc = 1;
    static char name[] = "quirnel-bench";
    static char* argv[] = {name, nullptr};
#ifdef QUIRNEL_BENCH_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
#else
    static QCoreApplication* app = new QCoreApplication(argc, argv);
#endif
    return *app;
}
