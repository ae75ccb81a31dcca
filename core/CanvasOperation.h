// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QRgb>
#include <QSize>
#include <cstdint>

class QPainter;

// One retained drawing operation, in coordinates relative to the client area (0..1 across and
// down; a circle's radius relative to the width), with its pen width in window pixels.
struct CanvasOperation {
    enum Kind : std::uint8_t { Dot, Line, Circle };
    Kind kind;
    std::uint8_t width;
    QRgb color;
    float x1, y1, x2, y2; // a circle keeps its radius in x2
    bool operator==(const CanvasOperation&) const = default;
};

// A pen width in window pixels as device pixels at a device pixel ratio, at least one.
int devicePenWidth(int width, qreal ratio);

// The square of a dot width device pixels across around the pixel holding the relative
// position (x, y) on a w × h image, cut to the image; empty when the position is outside or not
// finite.
QRect dotSquare(double x, double y, int width, int w, int h);

// Draws a line or circle at a size in device pixels with a pen penWidth device pixels wide;
// returns the rectangle it may have touched, empty when it draws nothing. Without a painter it
// only tells the rectangle.
QRect strokeOperation(QPainter* painter, const CanvasOperation& op, QSize size, int penWidth);
