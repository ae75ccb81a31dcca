// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

#include <QRgb>
#include <cmath>
#include <iterator>
#include <optional>
#include <vector>

// A surface that records every drawing call with its arguments and the pen width at the time.
// With keepCalls off it only counts, for plots of millions of points.
class RecordingSurface : public Surface {
public:
    struct Call {
        enum Kind { PSet, Line, Circle, Cls } kind;
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0; // a circle keeps its radius in x2
        std::optional<QRgb> colour;
        std::int16_t drawWidth = 0;
    };

    bool keepCalls = true;
    std::vector<Call> calls;
    int clears = 0;
    std::size_t points = 0;    // PSet calls with a colour: curve points
    std::size_t nonFinite = 0; // calls handed a coordinate that is not finite
    std::optional<QRgb> lastColour;

    void setScaleMode(std::int16_t mode) override {
        scaleMode_ = mode;
        if (mode == Centimetres) {
            width_ = 33.867f; // 1280 x 990 pixels at 96 dpi
            height_ = 26.194f;
        }
    }
    std::int16_t ScaleMode() const override { return scaleMode_; }
    void setScaleWidth(float width) override {
        width_ = width;
        scaleMode_ = UserScale;
    }
    float ScaleWidth() const override { return width_; }
    void setScaleHeight(float height) override {
        height_ = height;
        scaleMode_ = UserScale;
    }
    float ScaleHeight() const override { return height_; }
    void setDrawWidth(std::int16_t pixels) override { drawWidth_ = pixels; }
    std::int16_t DrawWidth() const override { return drawWidth_; }
    QRgb ForeColor() const override { return qRgb(0, 0, 0); }
    QRgb BackColor() const override { return qRgb(240, 240, 240); }

    void PSet(float x, float y) override { record({Call::PSet, x, y, 0, 0, std::nullopt}); }
    void PSet(float x, float y, QRgb colour) override {
        ++points;
        lastColour = colour;
        record({Call::PSet, x, y, 0, 0, colour});
    }
    void Line(float x1, float y1, float x2, float y2) override {
        record({Call::Line, x1, y1, x2, y2, std::nullopt});
    }
    void Circle(float x, float y, float radius) override {
        record({Call::Circle, x, y, radius, 0, std::nullopt});
    }
    void Cls() override {
        ++clears;
        record({Call::Cls, 0, 0, 0, 0, std::nullopt});
    }

    std::vector<Call> callsOf(Call::Kind kind) const {
        std::vector<Call> found;
        for (const Call& c : calls)
            if (c.kind == kind)
                found.push_back(c);
        return found;
    }
    // What the window shows: the calls since the last Cls.
    std::vector<Call> sinceLastCls() const {
        auto last = calls.end();
        while (last != calls.begin() && std::prev(last)->kind != Call::Cls)
            --last;
        return {last, calls.end()};
    }
    std::vector<Call> curvePoints() const {
        std::vector<Call> found;
        for (const Call& c : calls)
            if (c.kind == Call::PSet && c.colour)
                found.push_back(c);
        return found;
    }
    void forget() {
        calls.clear();
        points = 0;
        nonFinite = 0;
    }

private:
    void record(Call call) {
        call.drawWidth = drawWidth_;
        if (!std::isfinite(call.x1) || !std::isfinite(call.y1) || !std::isfinite(call.x2) ||
            !std::isfinite(call.y2))
            ++nonFinite;
        if (keepCalls)
            calls.push_back(call);
    }

    std::int16_t scaleMode_ = 1;
    float width_ = 15240;
    float height_ = 11790;
    std::int16_t drawWidth_ = 1;
};
