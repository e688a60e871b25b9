// The chart as a figure of its own: an SVG or PDF drawing, or a PNG picture.
#include "drawing/ChartFigure.h"

#include "base/FileError.h"
#include "base/SafeFile.h"
#include "chart/ChartState.h"
#include "drawing/ChartDrawing.h"

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

} // namespace

QByteArray FigureBytes(const Figure& figure, FigureFormat format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case FigureFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(figure.size);
        svg.setViewBox(QRect(QPoint(), figure.size));
        // The generator writes title and description as they are given: they must be XML.
        svg.setTitle(figure.title.toHtmlEscaped());
        svg.setDescription(figure.description.toHtmlEscaped());
        QPainter painter(&svg);
        figure.draw(painter);
        break;
    }
    case FigureFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        // One point of the page for each pixel of the figure.
        pdf.setResolution(72);
        pdf.setPageSize(
            QPageSize(QSizeF(figure.size), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF());
        pdf.setTitle(figure.description);
        pdf.setCreator(QStringLiteral("Quirnel"));
        QPainter painter(&pdf);
        figure.draw(painter);
        break;
    }
    case FigureFormat::Png: {
        QImage image(figure.size * kPngFigureScale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        image.setText(QStringLiteral("Title"), figure.title);
        image.setText(QStringLiteral("Description"), figure.description);
        {
            QPainter painter(&image);
            painter.scale(kPngFigureScale, kPngFigureScale);
            figure.draw(painter);
        }
        image.save(&buffer, "PNG");
        break;
    }
    case FigureFormat::Unknown:
        return QByteArray();
    }
    return buffer.data();
}

bool WriteFigureFile(const std::string& path, const std::string& what,
                     const std::function<QByteArray(FigureFormat)>& draw, std::string& problem) {
    const FigureFormat format = FigureFormatOfName(path);
    if (format == FigureFormat::Unknown) {
        problem = "Can't tell what kind of picture to write to " + path +
                  ": the name must end in .svg, .pdf or .png.";
        return false;
    }
    const QByteArray bytes = draw(format);
    if (bytes.isEmpty()) {
        problem = "Can't draw " + what + " for " + path + ".";
        return false;
    }
    if (const int error = ReplaceFileContents(
            path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        problem = "Can't write " + what + " to " + path + ": " + FileErrorReason(error) +
                  ". An existing file is left as it was.";
        return false;
    }
    return true;
}

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
    return FigureBytes({kChart.size(), QStringLiteral("Vowel chart"), Description(state),
                        [&](QPainter& painter) { DrawFigure(painter, state, look); }},
                       format);
}

bool WriteChartFigure(const std::string& path, const ChartState& state, const ChartLook& look,
                      std::string& problem) {
    return WriteFigureFile(
        path, "the chart",
        [&](FigureFormat format) { return DrawChartFigure(state, look, format); }, problem);
}
