// The chart as a figure of its own: an SVG or PDF drawing, or a PNG picture.
#include "view/ChartFigure.h"

#include "base/FileError.h"
#include "base/SafeFile.h"
#include "view/ChartDrawing.h"
#include "view/ChartState.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

const QRect kChart(kChartLeft, kChartTop, kChartWidth, kChartHeight);

QString Description(const ChartState& state) {
    QString text = QStringLiteral("Vowel chart drawn by Quirnel.");
    if (const ReferenceChoice* reference = state.Reference())
        text += ' ' + QString::fromStdString(reference->description) + '.';
    return text;
}

// The chart moved to the figure's origin and cut out of the client area.
void DrawFigure(QPainter& painter, const ChartState& state, const ChartLook& look) {
    painter.translate(-kChart.topLeft());
    painter.setClipRect(kChart);
    DrawChart(painter, state, look);
}

QByteArray SvgFigure(const ChartState& state, const ChartLook& look) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(kChart.size());
    svg.setViewBox(QRect(QPoint(), kChart.size()));
    svg.setTitle(QStringLiteral("Vowel chart"));
    // The generator writes the description as it is given: it must be XML already.
    svg.setDescription(Description(state).toHtmlEscaped());
    QPainter painter(&svg);
    DrawFigure(painter, state, look);
    painter.end();
    return buffer.data();
}

QByteArray PdfFigure(const ChartState& state, const ChartLook& look) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        // One point of the page for each pixel of the chart.
        pdf.setResolution(72);
        pdf.setPageSize(
            QPageSize(QSizeF(kChart.size()), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF());
        pdf.setTitle(Description(state));
        pdf.setCreator(QStringLiteral("Quirnel"));
        QPainter painter(&pdf);
        DrawFigure(painter, state, look);
    }
    return buffer.data();
}

QByteArray PngFigure(const ChartState& state, const ChartLook& look) {
    QImage image(kChart.size() * kPngFigureScale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    image.setText(QStringLiteral("Title"), QStringLiteral("Vowel chart"));
    image.setText(QStringLiteral("Description"), Description(state));
    {
        QPainter painter(&image);
        painter.scale(kPngFigureScale, kPngFigureScale);
        DrawFigure(painter, state, look);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

FigureFormat FigureFormatOfName(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".svg")
        return FigureFormat::Svg;
    if (extension == ".pdf")
        return FigureFormat::Pdf;
    if (extension == ".png")
        return FigureFormat::Png;
    return FigureFormat::Unknown;
}

QByteArray DrawChartFigure(const ChartState& state, const ChartLook& look, FigureFormat format) {
    switch (format) {
    case FigureFormat::Svg:
        return SvgFigure(state, look);
    case FigureFormat::Pdf:
        return PdfFigure(state, look);
    case FigureFormat::Png:
        return PngFigure(state, look);
    case FigureFormat::Unknown:
        break;
    }
    return QByteArray();
}

bool WriteChartFigure(const std::string& path, const ChartState& state, const ChartLook& look,
                      std::string& problem) {
    const FigureFormat format = FigureFormatOfName(path);
    if (format == FigureFormat::Unknown) {
        problem = "Can't tell what kind of picture to write to " + path +
                  ": the name must end in .svg, .pdf or .png.";
        return false;
    }
    const QByteArray bytes = DrawChartFigure(state, look, format);
    if (bytes.isEmpty()) {
        problem = "Can't draw the chart for " + path + ".";
        return false;
    }
    if (const int error = ReplaceFileContents(
            path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        problem = "Can't write the chart to " + path + ": " + FileErrorReason(error) +
                  ". An existing file is left as it was.";
        return false;
    }
    return true;
}
