// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SurfaceWidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {
constexpr std::int16_t Twips = 1;
constexpr double TwipsPerInch = 1440;
constexpr double CentimetresPerInch = 2.54;
} // namespace

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    foreColor_ = palette().color(QPalette::ButtonText).rgb();
    canvas_.setBackground(BackColor());
}

QSizeF SurfaceWidget::clientSizeIn(std::int16_t mode) const {
    const double inchesWide = width() / double(logicalDpiX());
    const double inchesHigh = height() / double(logicalDpiY());
    const double unitsPerInch = mode == Centimetres ? CentimetresPerInch : TwipsPerInch;
    return {inchesWide * unitsPerInch, inchesHigh * unitsPerInch};
}

void SurfaceWidget::setScaleMode(std::int16_t mode) {
    if (mode == UserScale) {
        // The unit becomes user-defined and the current extent stays.
        scaleWidth_ = ScaleWidth();
        scaleHeight_ = ScaleHeight();
    } else {
        scaleWidth_ = 0;
        scaleHeight_ = 0;
    }
    scaleMode_ = mode;
}

float SurfaceWidget::ScaleWidth() const {
    return scaleWidth_ > 0 ? scaleWidth_ : static_cast<float>(clientSizeIn(scaleMode_).width());
}

float SurfaceWidget::ScaleHeight() const {
    return scaleHeight_ > 0 ? scaleHeight_ : static_cast<float>(clientSizeIn(scaleMode_).height());
}

void SurfaceWidget::setScaleWidth(float width) {
    if (!(width > 0) || !std::isfinite(width))
        return;
    scaleHeight_ = ScaleHeight();
    scaleWidth_ = width;
    scaleMode_ = UserScale;
}

void SurfaceWidget::setScaleHeight(float height) {
    if (!(height > 0) || !std::isfinite(height))
        return;
    scaleWidth_ = ScaleWidth();
    scaleHeight_ = height;
    scaleMode_ = UserScale;
}

void SurfaceWidget::setDrawWidth(std::int16_t pixels) {
    drawWidth_ = std::clamp<std::int16_t>(pixels, 1, 255);
}

QRgb SurfaceWidget::ForeColor() const {
    return foreColor_;
}

QRgb SurfaceWidget::BackColor() const {
    return palette().color(QPalette::Button).rgb();
}

bool SurfaceWidget::toRelative(float x, float y, float& rx, float& ry) const {
    rx = x / SurfaceWidget::ScaleWidth();
    ry = y / SurfaceWidget::ScaleHeight();
    return std::isfinite(rx) && std::isfinite(ry);
}

// The canvas puts a relative position r on device pixel floor(r * pixels); a widget point p
// lies at device position p * ratio. These two invert that mapping and toRelative.
QPointF SurfaceWidget::widgetPosition(QPointF user) const {
    const QSize pixels = canvasPixelSize();
    const qreal ratio = devicePixelRatioF();
    return {user.x() / ScaleWidth() * pixels.width() / ratio,
            user.y() / ScaleHeight() * pixels.height() / ratio};
}

QPointF SurfaceWidget::userPosition(QPointF widgetPoint) const {
    const QSize pixels = canvasPixelSize();
    const qreal ratio = devicePixelRatioF();
    return {widgetPoint.x() * ratio / pixels.width() * ScaleWidth(),
            widgetPoint.y() * ratio / pixels.height() * ScaleHeight()};
}

void SurfaceWidget::PSet(float x, float y) {
    PSet(x, y, ForeColor());
}

void SurfaceWidget::PSet(float x, float y, QRgb color) {
    float rx, ry;
    if (!toRelative(x, y, rx, ry))
        return;
    canvas_.dot(rx, ry, drawWidth_, color);
    scheduleRepaint();
}

void SurfaceWidget::Line(float x1, float y1, float x2, float y2) {
    // A plot hands over the same chord before every point: its conversion is kept.
    const std::array<float, 6> given{
        x1, y1, x2, y2, SurfaceWidget::ScaleWidth(), SurfaceWidget::ScaleHeight()};
    if (given != lastLine_.given) {
        lastLine_.given = given;
        auto& r = lastLine_.relative;
        lastLine_.drawable = toRelative(x1, y1, r[0], r[1]) && toRelative(x2, y2, r[2], r[3]);
    }
    if (!lastLine_.drawable)
        return;
    const auto& r = lastLine_.relative;
    canvas_.line(r[0], r[1], r[2], r[3], drawWidth_, ForeColor());
    scheduleRepaint();
}

void SurfaceWidget::Circle(float x, float y, float radius) {
    float rx, ry;
    const float relativeRadius = radius / ScaleWidth();
    if (!toRelative(x, y, rx, ry) || !std::isfinite(relativeRadius) || relativeRadius < 0)
        return;
    canvas_.circle(rx, ry, relativeRadius, drawWidth_, ForeColor());
    scheduleRepaint();
}

void SurfaceWidget::Cls() {
    canvas_.clear();
    scheduleRepaint();
}

const QImage& SurfaceWidget::drawing() {
    return retainedDrawing().image();
}

RetainedCanvas& SurfaceWidget::retainedDrawing() {
    syncCanvasSize();
    return canvas_;
}

bool SurfaceWidget::rewindDrawing(RetainedCanvas::Mark to) {
    if (!canvas_.rewind(to))
        return false;
    scheduleRepaint();
    return true;
}

RetainedCanvas SurfaceWidget::exchangeDrawing(RetainedCanvas replacement) {
    std::swap(canvas_, replacement);
    syncCanvasSize();
    update();
    return replacement;
}

QSize SurfaceWidget::canvasPixelSize() const {
    const qreal ratio = devicePixelRatioF();
    return {qRound(width() * ratio), qRound(height() * ratio)};
}

void SurfaceWidget::syncCanvasSize() {
    canvas_.setPixelSize(canvasPixelSize(), devicePixelRatioF());
}

// Drawing calls only record; the image is rasterized and repainted once, when control returns
// to the event loop, so a plot of thousands of points costs one repaint.
void SurfaceWidget::scheduleRepaint() {
    if (repaintScheduled_)
        return;
    repaintScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            repaintScheduled_ = false;
            syncCanvasSize();
            const QRect dirty = canvas_.takeDirtyRect();
            const qreal ratio = devicePixelRatioF();
            update(QRectF(dirty.x() / ratio, dirty.y() / ratio, dirty.width() / ratio,
                          dirty.height() / ratio)
                       .toAlignedRect());
        },
        Qt::QueuedConnection);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
    syncCanvasSize();
    const QImage& image = canvas_.image();
    const qreal ratio = devicePixelRatioF();
    const QRect target = event->rect();
    const QRectF source(target.x() * ratio, target.y() * ratio, target.width() * ratio,
                        target.height() * ratio);
    QPainter painter(this);
    painter.drawImage(QRectF(target), image, source);
}

void SurfaceWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    syncCanvasSize();
}

void SurfaceWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        foreColor_ = palette().color(QPalette::ButtonText).rgb();
        canvas_.setBackground(BackColor());
    }
}
