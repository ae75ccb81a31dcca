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

int devicePenWidth(int width, qreal ratio) {
    return std::max(1, static_cast<int>(std::lround(width * ratio)));
}

// The square of a dot width pixels across around the pixel holding (x, y), cut to the image;
// empty when the position is outside or not finite.
QRect dotSquare(double x, double y, int width, int w, int h) {
    const double px = x * w, py = y * h;
    if (!(px >= 0 && py >= 0 && px < w && py < h))
        return {};
    // Both are non-negative here, so truncating is taking the floor, as pixelOf does.
    const int cx = static_cast<int>(px), cy = static_cast<int>(py);
    return QRect(QPoint(std::max(0, cx - (width - 1) / 2), std::max(0, cy - (width - 1) / 2)),
                 QPoint(std::min(w - 1, cx + width / 2), std::min(h - 1, cy + width / 2)));
}

// Pen widths are kept in 8 bits: wider pens are drawn 255 pixels wide rather than wrap.
std::uint8_t storedPenWidth(int width) {
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
    forgetJournal();
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
    if (journalMarks_.empty() || journalMarks_.back() != ops_.size())
        journalMarks_.push_back(ops_.size());
    if (journalMarks_.size() > JournalMarks)
        dropOldestMark();
    return {generation_, ops_.size()};
}

bool RetainedCanvas::rewind(Mark to) {
    if (to.generation != generation_ || to.operations > ops_.size())
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
    if (to.operations >= journalFrom()) {
        dirty_ |= restorePixels(to.operations);
        ops_.resize(to.operations);
        rendered_ = barrier_ = ops_.size();
        return true;
    }
    forgetJournal();
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
                       : stroke(nullptr, op, size, penWidth);
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

void RetainedCanvas::keepPixels(std::size_t op, const QRect& area) {
    const QRect kept = area & image_.rect();
    if (kept.isEmpty())
        return;
    journal_.push_back({op, kept});
    for (int y = kept.top(); y <= kept.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        journalPixels_.insert(journalPixels_.end(), row + kept.left(), row + kept.right() + 1);
    }
    // Over the budget the oldest marks are given up: their rewinds draw again instead.
    const auto bytes = [this] {
        return journalPixels_.size() * sizeof(QRgb) + journal_.size() * sizeof(Patch);
    };
    while (bytes() > JournalBudget && journalMarks_.size() > 1)
        dropOldestMark();
    if (bytes() > JournalBudget)
        forgetJournal();
}

void RetainedCanvas::dropOldestMark() {
    journalMarks_.pop_front();
    const std::size_t from = journalFrom();
    while (!journal_.empty() && journal_.front().op < from) {
        const QRect& area = journal_.front().area;
        journalPixels_.erase(journalPixels_.begin(),
                             journalPixels_.begin() + std::ptrdiff_t(area.width()) * area.height());
        journal_.pop_front();
    }
}

QRect RetainedCanvas::restorePixels(std::size_t op) {
    QRect restored;
    while (!journal_.empty() && journal_.back().op >= op) {
        const QRect& area = journal_.back().area;
        auto from = journalPixels_.end() - std::ptrdiff_t(area.width()) * area.height();
        const auto start = from;
        for (int y = area.top(); y <= area.bottom(); ++y, from += area.width())
            std::copy(from, from + area.width(),
                      reinterpret_cast<QRgb*>(image_.scanLine(y)) + area.left());
        journalPixels_.erase(start, journalPixels_.end());
        restored |= area;
        journal_.pop_back();
    }
    while (!journalMarks_.empty() && journalMarks_.back() > op)
        journalMarks_.pop_back();
    return restored;
}

void RetainedCanvas::forgetJournal() {
    journal_ = {};
    journalPixels_ = {};
    journalMarks_.clear();
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
    forgetJournal();
    if (unsized) {
        image_ = QImage();
        dirty_ = QRect();
    }
}

void RetainedCanvas::renderAll() {
    forgetJournal();
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
            if (clip.isNull() && i >= journalFrom())
                keepPixels(i, square);
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
        if (!clip.isNull() && !stroke(nullptr, op, size, penWidth).intersects(clip))
            continue;
        if (clip.isNull() && i >= journalFrom())
            keepPixels(i, stroke(nullptr, op, size, penWidth));
        if (!painter) {
            painter.emplace(&image_);
            painter->setRenderHint(QPainter::Antialiasing, false);
            if (!clip.isNull())
                painter->setClipRect(clip);
        }
        dirty |= stroke(&*painter, op, size, penWidth);
    }
    rendered_ = ops_.size();
    if (dotsRight >= 0)
        dirty |= QRect(QPoint(dotsLeft, dotsTop), QPoint(dotsRight, dotsBottom));
    dirty_ |= dirty;
}

QRect RetainedCanvas::stroke(QPainter* painter, const Op& op, QSize size, int penWidth) {
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
    if (op.kind == Op::Line) {
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

void RetainedCanvas::paint(QPainter& painter, QSize size) const {
    const QRect area(QPoint(0, 0), size);
    painter.save();
    painter.setClipRect(area);
    if (base_.isNull()) {
        painter.fillRect(area, QColor::fromRgb(background_));
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, base_);
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
            stroke(&painter, op, size, op.width);
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
