// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRgb>
#include <cstdint>

// The drawing surface of a window's client area, in the window's user coordinates: origin at
// the top-left corner, x to the right, y downward, the right edge at ScaleWidth and the bottom
// edge at ScaleHeight. Pen widths are pixels whatever the unit. Positions that fall outside
// the client area, or are not finite, draw nothing.
class Surface {
public:
    static constexpr std::int16_t UserScale = 0;
    static constexpr std::int16_t Centimetres = 7;

    virtual ~Surface() = default;

    virtual void setScaleMode(std::int16_t mode) = 0;
    virtual std::int16_t ScaleMode() const = 0;
    virtual void setScaleWidth(float width) = 0;
    virtual float ScaleWidth() const = 0;
    virtual void setScaleHeight(float height) = 0;
    virtual float ScaleHeight() const = 0;
    virtual void setDrawWidth(std::int16_t pixels) = 0;
    virtual std::int16_t DrawWidth() const = 0;
    virtual QRgb ForeColor() const = 0;
    virtual QRgb BackColor() const = 0;

    // A filled dot DrawWidth pixels across, in ForeColor or in the given colour.
    virtual void PSet(float x, float y) = 0;
    virtual void PSet(float x, float y, QRgb color) = 0;
    // A segment in ForeColor.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // A circle outline in ForeColor; the radius is in horizontal units and the circle is round
    // on the screen whatever the vertical unit.
    virtual void Circle(float x, float y, float radius) = 0;
    // Erases the drawing; scale, pen width and colours stay.
    virtual void Cls() = 0;
};
