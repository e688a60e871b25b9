#include "CliFigures.h"

#include <QGuiApplication>

std::unique_ptr<QGuiApplication> OffscreenGraphics() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quirnel-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}
