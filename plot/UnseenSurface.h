// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

// Keeps the scale the plot sets up and reads back, which decides where its walk stops; draws
// nothing.
class UnseenSurface : public Surface {
public:
    void setScaleMode(std::int16_t mode) override { mode_ = mode; }
    std::int16_t ScaleMode() const override { return mode_; }
    void setScaleWidth(float width) override { width_ = width; }
    float ScaleWidth() const override { return width_; }
    void setScaleHeight(float height) override { height_ = height; }
    float ScaleHeight() const override { return height_; }
    void setDrawWidth(std::int16_t pixels) override { drawWidth_ = pixels; }
    std::int16_t DrawWidth() const override { return drawWidth_; }
    QRgb ForeColor() const override { return qRgb(0, 0, 0); }
    QRgb BackColor() const override { return qRgb(255, 255, 255); }
    void PSet(float, float) override {}
    void PSet(float, float, QRgb) override {}
    void Line(float, float, float, float) override {}
    void Circle(float, float, float) override {}
    void Cls() override {}

private:
    std::int16_t mode_ = UserScale;
    float width_ = 0;
    float height_ = 0;
    std::int16_t drawWidth_ = 1;
};
