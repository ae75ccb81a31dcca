// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "KeptDrawing.h"

#include <QWidget>
#include <array>

// A window whose client area is a retained drawing surface: what is drawn survives being
// covered, minimised, resized or moved to a screen of another scale. Child controls stand on
// top of the drawing.
class SurfaceWidget : public QWidget, public KeptDrawing {
public:
    explicit SurfaceWidget(QWidget* parent = nullptr);

    void setScaleMode(std::int16_t mode) override;
    std::int16_t ScaleMode() const override { return scaleMode_; }
    void setScaleWidth(float width) override;
    float ScaleWidth() const override;
    void setScaleHeight(float height) override;
    float ScaleHeight() const override;
    void setDrawWidth(std::int16_t pixels) override;
    std::int16_t DrawWidth() const override { return drawWidth_; }
    QRgb ForeColor() const override;
    QRgb BackColor() const override;

    void PSet(float x, float y) override;
    void PSet(float x, float y, QRgb color) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void Circle(float x, float y, float radius) override;
    void Cls() override;

    // Where a position in user coordinates lies on the widget, and back: the user position
    // of a point of the widget (pixel centres at half-pixel offsets).
    QPointF widgetPosition(QPointF user) const;
    QPointF userPosition(QPointF widgetPoint) const;

    // The drawing as it stands, every operation rasterized, at device resolution.
    const QImage& drawing();
    RetainedCanvas& retainedDrawing() override;
    RetainedCanvas::Mark drawingMark() override { return canvas_.mark(); }
    bool rewindDrawing(RetainedCanvas::Mark to) override;
    RetainedCanvas exchangeDrawing(RetainedCanvas replacement) override;
    QSize drawingSize() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Client size in the platform's default unit (twips) and in centimetres.
    QSizeF clientSizeIn(std::int16_t mode) const;
    bool toRelative(float x, float y, float& rx, float& ry) const;
    void scheduleRepaint();
    void syncCanvasSize();
    QSize canvasPixelSize() const;

    RetainedCanvas canvas_;
    std::int16_t scaleMode_ = 1; // twips until a window chooses another unit
    float scaleWidth_ = 0;       // 0: follows the client area in the current unit
    float scaleHeight_ = 0;
    std::int16_t drawWidth_ = 1;
    bool repaintScheduled_ = false;
    QRgb foreColor_; // kept: the palette is too slow to ask once per drawing call
    struct {
        std::array<float, 6> given{}; // end points and scale
        std::array<float, 4> relative{};
        bool drawable = false;
    } lastLine_;
};
