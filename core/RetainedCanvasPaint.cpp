// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The retained drawing replayed through a painter, for the vector and printed copies of it.
#include "RetainedCanvas.h"

#include <QPainter>
#include <algorithm>
#include <vector>

namespace {

// The folded part with its background pixels in another colour; drawn lines and dots keep theirs.
QImage onBackground(const QImage& folded, QRgb from, QRgb to) {
    if (from == to)
        return folded;
    QImage image = folded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::replace(line, line + image.width(), from, to);
    }
    return image;
}

} // namespace

void RetainedCanvas::paint(QPainter& painter, QSize size, QRgb background) const {
    const QRect area(QPoint(0, 0), size);
    painter.save();
    painter.setClipRect(area);
    if (base_.isNull()) {
        painter.fillRect(area, QColor::fromRgb(background));
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, onBackground(base_, background_, background));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Dots of one colour in a row go in as one call, so a vector file states their colour once.
    std::vector<QRect> run;
    QRgb runColour = 0;
    const auto drawRun = [&] {
        if (run.empty())
            return;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(runColour));
        painter.drawRects(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (const Op& op : ops_) {
        if (op.kind != Op::Dot) {
            drawRun();
            strokeOperation(&painter, op, size, op.width);
            continue;
        }
        const QRect square = dotSquare(op.x1, op.y1, op.width, size.width(), size.height());
        if (square.isEmpty())
            continue;
        if (op.color != runColour)
            drawRun();
        runColour = op.color;
        run.push_back(square);
    }
    drawRun();
    painter.restore();
}
