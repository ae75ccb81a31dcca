// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CanvasOperation.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Positions map to the centre of the pixel holding them, so that lines and dots at the same
// position land on the same pixels. Kept in double: far-away points are clipped, not cast.
double pixelOf(double relative, int extent) {
    return std::floor(relative * extent);
}

QPointF centreOf(double rx, double ry, QSize size) {
    return {pixelOf(rx, size.width()) + 0.5, pixelOf(ry, size.height()) + 0.5};
}

// Liang-Barsky clipping of a segment to a rectangle, so that far-away end points never reach
// the rasterizer.
std::optional<QLineF> clipped(QPointF a, QPointF b, const QRectF& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                         box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return QLineF(a.x() + t0 * dx, a.y() + t0 * dy, a.x() + t1 * dx, a.y() + t1 * dy);
}

// Larger circles cannot be told from lines and would only strain the rasterizer.
constexpr double MaxCircleRadiusPixels = 1e6;

} // namespace

int devicePenWidth(int width, qreal ratio) {
    return std::max(1, static_cast<int>(std::lround(width * ratio)));
}

QRect dotSquare(double x, double y, int width, int w, int h) {
    const double px = x * w, py = y * h;
    if (!(px >= 0 && py >= 0 && px < w && py < h))
        return {};
    // Both are non-negative here, so truncating is taking the floor, as pixelOf does.
    const int cx = static_cast<int>(px), cy = static_cast<int>(py);
    return QRect(QPoint(std::max(0, cx - (width - 1) / 2), std::max(0, cy - (width - 1) / 2)),
                 QPoint(std::min(w - 1, cx + width / 2), std::min(h - 1, cy + width / 2)));
}

QRect strokeOperation(QPainter* painter, const CanvasOperation& op, QSize size, int penWidth) {
    const int w = size.width();
    const QRectF lineBox(-8, -8, w + 16, size.height() + 16);
    // A pen one pixel wide is drawn cosmetic, which puts exactly one pixel per step; being
    // one pixel and not the thinnest line possible, it stays visible in a printed PDF.
    QPen pen(QColor::fromRgb(op.color), penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (penWidth == 1) {
        pen.setCapStyle(Qt::SquareCap);
        pen.setCosmetic(true);
    }
    const int margin = penWidth + 1;
    // An even pen is centred where a dot of that width is, on the corner after the pixel, so
    // that its edges fall between pixels rather than through their centres.
    const double shift = penWidth % 2 == 0 ? 0.5 : 0;
    const auto placed = [&](float x, float y) {
        return centreOf(x, y, size) + QPointF(shift, shift);
    };
    if (op.kind == CanvasOperation::Line) {
        const auto segment = clipped(placed(op.x1, op.y1), placed(op.x2, op.y2), lineBox);
        if (!segment)
            return {};
        if (painter) {
            painter->setPen(pen);
            painter->setBrush(Qt::NoBrush);
            painter->drawLine(*segment);
        }
        return QRectF(segment->p1(), segment->p2())
            .normalized()
            .toAlignedRect()
            .adjusted(-margin, -margin, margin, margin);
    }
    const QPointF centre = placed(op.x1, op.y1);
    const double radius = double(op.x2) * w;
    if (!(radius <= MaxCircleRadiusPixels))
        return {};
    const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    if (!bounds.adjusted(-margin, -margin, margin, margin).intersects(lineBox))
        return {};
    if (painter) {
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(centre, radius, radius);
    }
    return bounds.toAlignedRect().adjusted(-margin, -margin, margin, margin);
}
