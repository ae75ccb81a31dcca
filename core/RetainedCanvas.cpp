// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RetainedCanvas.h"

#include "CanvasOperation.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <atomic>
#include <cstring>


namespace {

// Pen widths are kept in 8 bits: wider pens are drawn 255 pixels wide rather than wrap.
std::uint8_t storedPenWidth(int width) {
    return static_cast<std::uint8_t>(std::clamp(width, 1, 255));
}

// A canvas that is given operations before it has a size folds them at this size; the base is
// scaled once a size is given.
constexpr QSize UnsizedFoldSize(1920, 1080);

} // namespace

std::uint64_t CanvasIdentity::next() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

RetainedCanvas::RetainedCanvas(QRgb background) : background_(background) {}

void RetainedCanvas::setBackground(QRgb color) {
    background_ = color;
    renderAll();
}

void RetainedCanvas::setPixelSize(QSize size, qreal ratio) {
    if (size == image_.size() && ratio == ratio_)
        return;
    ratio_ = ratio;
    if (size != image_.size())
        image_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    renderAll();
}

void RetainedCanvas::dot(float x, float y, int width, QRgb color) {
    append({Op::Dot, storedPenWidth(width), color, x, y, 0, 0});
}

void RetainedCanvas::line(float x1, float y1, float x2, float y2, int width, QRgb color) {
    const Op op{Op::Line, storedPenWidth(width), color, x1, y1, x2, y2};
    // A plot redraws the same segment before every dot. Drawing [segment, dot, segment] gives
    // the same pixels as [dot, segment], so the repeated segment moves past the dot instead of
    // being kept and rasterized once per dot.
    const std::size_t n = ops_.size();
    if (n >= std::max(rendered_, barrier_) + 2 && ops_[n - 1].kind == Op::Dot &&
        ops_[n - 2] == op) {
        std::swap(ops_[n - 2], ops_[n - 1]);
        return;
    }
    append(op);
}

void RetainedCanvas::circle(float x, float y, float radius, int width, QRgb color) {
    append({Op::Circle, storedPenWidth(width), color, x, y, radius, 0});
}

void RetainedCanvas::clear() {
    ops_.clear();
    rendered_ = 0;
    barrier_ = 0;
    journal_.forget();
    ++generation_;
    base_ = QImage();
    image_.fill(background_);
    dirty_ = image_.rect();
}

const QImage& RetainedCanvas::image() {
    rasterize(rendered_);
    return image_;
}

QRect RetainedCanvas::takeDirtyRect() {
    rasterize(rendered_);
    return std::exchange(dirty_, QRect());
}

RetainedCanvas::Mark RetainedCanvas::mark() {
    barrier_ = ops_.size();
    journal_.addMark(ops_.size());
    return {identity_.id, generation_, ops_.size()};
}

bool RetainedCanvas::rewind(Mark to) {
    if (to.canvas != identity_.id || to.generation != generation_ || to.operations > ops_.size())
        return false;
    if (to.operations == ops_.size())
        return true;
    if (image_.isNull()) {
        ops_.resize(to.operations);
        rendered_ = std::min(rendered_, to.operations);
        barrier_ = std::min(barrier_, to.operations);
        return true;
    }
    rasterize(rendered_);
    if (to.operations >= journal_.from()) {
        dirty_ |= journal_.restore(to.operations, image_);
        ops_.resize(to.operations);
        rendered_ = barrier_ = ops_.size();
        return true;
    }
    journal_.forget();
    // Only the pixels that the dropped operations covered are drawn again, so taking back one
    // plot costs little whatever lies under it.
    const QSize size = image_.size();
    QRect covered;
    int storedWidth = -1, penWidth = 1;
    for (std::size_t i = to.operations; i < ops_.size(); ++i) {
        const Op& op = ops_[i];
        if (op.width != storedWidth) {
            storedWidth = op.width;
            penWidth = devicePenWidth(op.width, ratio_);
        }
        covered |= op.kind == Op::Dot
                       ? dotSquare(op.x1, op.y1, penWidth, size.width(), size.height())
                       : strokeOperation(nullptr, op, size, penWidth);
    }
    ops_.resize(to.operations);
    barrier_ = std::min(barrier_, to.operations);
    covered &= image_.rect();
    if (covered.isEmpty()) {
        rendered_ = ops_.size();
        return true;
    }
    if (!base_.isNull() && base_.size() != size) {
        renderAll();
        return true;
    }
    {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (base_.isNull())
            painter.fillRect(covered, QColor::fromRgb(background_));
        else
            painter.drawImage(covered.topLeft(), base_, covered);
    }
    rasterize(0, covered);
    dirty_ |= covered;
    return true;
}

void RetainedCanvas::append(const Op& op) {
    ops_.push_back(op);
    if (ops_.size() >= FoldLimit)
        fold();
    else if (pendingOperations() >= RasterizeBatch)
        rasterize(rendered_); // while the operations are still in the cache
}

void RetainedCanvas::fold() {
    const bool unsized = image_.isNull();
    if (unsized)
        setPixelSize(base_.isNull() ? UnsizedFoldSize : base_.size());
    rasterize(rendered_);
    // Copied into the base's own buffer: sharing the image would make the next dot copy it
    // into a freshly allocated one.
    if (base_.size() == image_.size())
        std::memcpy(base_.bits(), image_.constBits(), image_.sizeInBytes());
    else
        base_ = image_.copy();
    ops_.clear();
    rendered_ = 0;
    barrier_ = 0;
    ++generation_;
    journal_.forget();
    if (unsized) {
        image_ = QImage();
        dirty_ = QRect();
    }
}

void RetainedCanvas::renderAll() {
    journal_.forget();
    if (image_.isNull())
        return;
    if (base_.isNull())
        image_.fill(background_);
    else if (base_.size() == image_.size())
        image_ = base_.copy();
    else
        image_ = base_.scaled(image_.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    rendered_ = 0;
    rasterize(0);
    dirty_ = image_.rect();
}

void RetainedCanvas::rasterize(std::size_t from, const QRect& clip) {
    if (from >= ops_.size() || image_.isNull()) {
        rendered_ = ops_.size();
        return;
    }
    const QSize size = image_.size();
    const int w = size.width(), h = size.height();
    std::optional<QPainter> painter;
    QRect dirty;
    // Dots are written straight into the scanlines: far faster than a painter.
    uchar* const bits = image_.bits();
    const qsizetype bytesPerLine = image_.bytesPerLine();
    int dotsLeft = w, dotsTop = h, dotsRight = -1, dotsBottom = -1;

    // A plot's operations come in long runs of the same width: converted once per run.
    int storedWidth = -1, penWidth = 1;
    for (std::size_t i = from; i < ops_.size(); ++i) {
        const Op& op = ops_[i];
        if (op.width != storedWidth) {
            storedWidth = op.width;
            penWidth = devicePenWidth(op.width, ratio_);
        }
        if (op.kind == Op::Dot) {
            QRect square = dotSquare(op.x1, op.y1, penWidth, w, h);
            if (!clip.isNull())
                square &= clip;
            if (square.isEmpty())
                continue;
            if (painter)
                painter.reset();
            if (clip.isNull() && i >= journal_.from())
                journal_.keep(i, square, image_);
            for (int y = square.top(); y <= square.bottom(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
                std::fill(row + square.left(), row + square.right() + 1, op.color);
            }
            dotsLeft = std::min(dotsLeft, square.left());
            dotsTop = std::min(dotsTop, square.top());
            dotsRight = std::max(dotsRight, square.right());
            dotsBottom = std::max(dotsBottom, square.bottom());
            continue;
        }
        if (!clip.isNull() && !strokeOperation(nullptr, op, size, penWidth).intersects(clip))
            continue;
        if (clip.isNull() && i >= journal_.from())
            journal_.keep(i, strokeOperation(nullptr, op, size, penWidth), image_);
        if (!painter) {
            painter.emplace(&image_);
            painter->setRenderHint(QPainter::Antialiasing, false);
            if (!clip.isNull())
                painter->setClipRect(clip);
        }
        dirty |= strokeOperation(&*painter, op, size, penWidth);
    }
    rendered_ = ops_.size();
    if (dotsRight >= 0)
        dirty |= QRect(QPoint(dotsLeft, dotsTop), QPoint(dotsRight, dotsBottom));
    dirty_ |= dirty;
}
