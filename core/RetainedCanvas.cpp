#include "RetainedCanvas.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
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

// Pen widths are kept in 8 bits: wider pens are drawn 255 pixels wide rather than wrap.
std::uint8_t penWidth(int width) {
    return static_cast<std::uint8_t>(std::clamp(width, 1, 255));
}

// A canvas that is given operations before it has a size folds them at this size; the base is
// scaled once a size is given.
constexpr QSize UnsizedFoldSize(1920, 1080);

} // namespace

RetainedCanvas::RetainedCanvas(QRgb background) : background_(background) {}

void RetainedCanvas::setBackground(QRgb color) {
    background_ = color;
    renderAll();
}

void RetainedCanvas::setPixelSize(QSize size) {
    if (size == image_.size())
        return;
    image_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    renderAll();
}

void RetainedCanvas::dot(float x, float y, int width, QRgb color) {
    append({Op::Dot, penWidth(width), color, x, y, 0, 0});
}

void RetainedCanvas::line(float x1, float y1, float x2, float y2, int width, QRgb color) {
    const Op op{Op::Line, penWidth(width), color, x1, y1, x2, y2};
    // A plot redraws the same segment before every dot. Drawing [segment, dot, segment] gives
    // the same pixels as [dot, segment], so the repeated segment moves past the dot instead of
    // being kept and rasterized once per dot.
    const std::size_t n = ops_.size();
    if (n >= rendered_ + 2 && ops_[n - 1].kind == Op::Dot && ops_[n - 2] == op) {
        std::swap(ops_[n - 2], ops_[n - 1]);
        return;
    }
    append(op);
}

void RetainedCanvas::circle(float x, float y, float radius, int width, QRgb color) {
    append({Op::Circle, penWidth(width), color, x, y, radius, 0});
}

void RetainedCanvas::clear() {
    ops_.clear();
    rendered_ = 0;
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
    if (unsized) {
        image_ = QImage();
        dirty_ = QRect();
    }
}

void RetainedCanvas::renderAll() {
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

void RetainedCanvas::rasterize(std::size_t from) {
    if (from >= ops_.size() || image_.isNull()) {
        rendered_ = ops_.size();
        return;
    }
    const QSize size = image_.size();
    const int w = size.width(), h = size.height();
    const QRectF lineBox(-8, -8, w + 16, h + 16);
    std::optional<QPainter> painter;
    QRect dirty;
    // Dots are written straight into the scanlines: far faster than a painter.
    uchar* const bits = image_.bits();
    const qsizetype bytesPerLine = image_.bytesPerLine();
    int dotsLeft = w, dotsTop = h, dotsRight = -1, dotsBottom = -1;

    for (std::size_t i = from; i < ops_.size(); ++i) {
        const Op& op = ops_[i];
        if (op.kind == Op::Dot) {
            const double px = double(op.x1) * w, py = double(op.y1) * h;
            if (!(px >= 0 && py >= 0 && px < w && py < h))
                continue;
            // Both are non-negative here, so truncating is taking the floor, as pixelOf does.
            const int cx = static_cast<int>(px), cy = static_cast<int>(py);
            if (painter)
                painter.reset();
            const int left = std::max(0, cx - (op.width - 1) / 2);
            const int top = std::max(0, cy - (op.width - 1) / 2);
            const int right = std::min(w - 1, cx + op.width / 2);
            const int bottom = std::min(h - 1, cy + op.width / 2);
            for (int y = top; y <= bottom; ++y) {
                auto* row = reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
                std::fill(row + left, row + right + 1, op.color);
            }
            dotsLeft = std::min(dotsLeft, left);
            dotsTop = std::min(dotsTop, top);
            dotsRight = std::max(dotsRight, right);
            dotsBottom = std::max(dotsBottom, bottom);
            continue;
        }
        if (!painter) {
            painter.emplace(&image_);
            painter->setRenderHint(QPainter::Antialiasing, false);
        }
        QPen pen(QColor::fromRgb(op.color), op.width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        const int margin = op.width + 1;
        if (op.kind == Op::Line) {
            const auto segment =
                clipped(centreOf(op.x1, op.y1, size), centreOf(op.x2, op.y2, size), lineBox);
            if (!segment)
                continue;
            // A pen one pixel wide is drawn cosmetic, which puts exactly one pixel per step.
            if (op.width == 1)
                painter->setPen(QPen(QColor::fromRgb(op.color), 0));
            painter->drawLine(*segment);
            dirty |= QRectF(segment->p1(), segment->p2())
                         .normalized()
                         .toAlignedRect()
                         .adjusted(-margin, -margin, margin, margin);
        } else {
            const QPointF centre = centreOf(op.x1, op.y1, size);
            const double radius = double(op.x2) * w;
            if (!(radius <= MaxCircleRadiusPixels))
                continue;
            const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
            if (!bounds.adjusted(-margin, -margin, margin, margin).intersects(lineBox))
                continue;
            if (op.width == 1)
                painter->setPen(QPen(QColor::fromRgb(op.color), 0));
            painter->drawEllipse(centre, radius, radius);
            dirty |= bounds.toAlignedRect().adjusted(-margin, -margin, margin, margin);
        }
    }
    rendered_ = ops_.size();
    if (dotsRight >= 0)
        dirty |= QRect(QPoint(dotsLeft, dotsTop), QPoint(dotsRight, dotsBottom));
    dirty_ |= dirty;
}
