// The identification curves of a listening test as a figure: an SVG or PDF drawing, or a PNG
// picture, made as the chart's figure is.
#pragma once

#include "drawing/ChartFigure.h"
#include "experiment/TestResults.h"

#include <QByteArray>
#include <QPainter>

#include <string>
#include <vector>

// The figure's size in pixels (SVG), points (PDF); a PNG has kPngFigureScale times as many.
constexpr int kResultsFigureWidth = 480;
constexpr int kResultsFigureHeight = 320;

// Draws one participant's curves (or the pooled ones) into the figure's rectangle: for each
// label the proportion of its answers at each step as a point with the step's count below
// the axis, the fitted logistic curve, and the 50 % boundary as a dashed line.
void DrawIdentificationCurves(QPainter& painter, const std::vector<LabelCurve>& curves,
                              const std::string& participant);

QByteArray DrawResultsFigure(const std::vector<LabelCurve>& curves, const std::string& participant,
                             FigureFormat format);

// Writes the figure the name's extension asks for, replacing an existing file only once the
// new one is complete. False with a whole message in problem.
bool WriteResultsFigure(const std::string& path, const std::vector<LabelCurve>& curves,
                        const std::string& participant, std::string& problem);
