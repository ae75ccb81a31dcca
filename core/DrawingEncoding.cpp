// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DrawingEncoding.h"

#include "RetainedCanvas.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

// The vector files measure window pixels at the usual screen density, so they print at the
// size the window has on the screen.
constexpr int VectorDpi = 96;
constexpr double PointsPerInch = 72;

constexpr struct {
    DrawingFormat format;
    const char* suffix;
} Suffixes[] = {
    {DrawingFormat::Png, "png"}, {DrawingFormat::Svg, "svg"}, {DrawingFormat::Pdf, "pdf"}};

QByteArray svgOf(const RetainedCanvas& canvas, QSize size, const QString& title) {
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(VectorDpi);
    generator.setTitle(title);
    generator.setDescription(QString());
    QPainter painter(&generator);
    canvas.paint(painter, size);
    painter.end();
    return buffer.data();
}

QByteArray pdfOf(const RetainedCanvas& canvas, QSize size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(VectorDpi);
    const QPageSize page(QSizeF(size) * PointsPerInch / VectorDpi, QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    // The folded part of a long session goes in as an image: without this, as a JPEG whose
    // colours are no longer the drawing's.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    canvas.paint(painter, size);
    painter.end();
    return buffer.data();
}

QByteArray pngOf(RetainedCanvas& canvas) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    canvas.image().save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

QByteArray encodeDrawing(RetainedCanvas& canvas, QSize windowSize, DrawingFormat format,
                         const QString& title) {
    switch (format) {
    case DrawingFormat::Svg:
        return svgOf(canvas, windowSize, title);
    case DrawingFormat::Pdf:
        return pdfOf(canvas, windowSize);
    case DrawingFormat::Png:
        break;
    }
    return pngOf(canvas);
}

std::optional<DrawingFormat> drawingFormatForSuffix(const QString& suffix) {
    for (const auto& s : Suffixes)
        if (suffix.compare(QLatin1String(s.suffix), Qt::CaseInsensitive) == 0)
            return s.format;
    return std::nullopt;
}

QString suffixOf(DrawingFormat format) {
    for (const auto& s : Suffixes)
        if (s.format == format)
            return QString::fromLatin1(s.suffix);
    return {};
}
