// What the commands that draw figures share (built only with the drawing library).
#pragma once

#include <QGuiApplication>

#include <memory>

// Fonts and painters need an application of the toolkit's graphics, never a display: an
// offscreen one, for as long as the returned object lives.
std::unique_ptr<QGuiApplication> OffscreenGraphics();
