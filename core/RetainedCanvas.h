// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "CanvasOperation.h"
#include "PixelJournal.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <utility>
#include <vector>

class QPainter;

// A number no other canvas of the run has, so that a mark taken on one canvas is never taken
// for a mark of another: a copy is another canvas, a move hands the number on.
struct CanvasIdentity {
    CanvasIdentity() : id(next()) {}
    CanvasIdentity(const CanvasIdentity&) : id(next()) {}
    CanvasIdentity(CanvasIdentity&& other) noexcept : id(std::exchange(other.id, next())) {}
    CanvasIdentity& operator=(const CanvasIdentity& other) {
        if (this != &other)
            id = next();
        return *this;
    }
    CanvasIdentity& operator=(CanvasIdentity&& other) noexcept {
        if (this != &other)
            id = std::exchange(other.id, next());
        return *this;
    }
    static std::uint64_t next();

    std::uint64_t id;
};

// The retained drawing of a client area. Operations are kept in coordinates relative to the
// client area (0..1 across and down, radii relative to the width), so the drawing can be
// rendered again at any pixel size without moving. They are rasterized lazily, when the image
// is asked for, into a device-pixel image.
//
// Pen widths are window pixels: at a device pixel ratio of 2 a two-pixel dot is four device
// pixels across, so the drawing keeps its weight on a high-DPI screen.
//
// Memory stays bounded, with or without a size: past FoldLimit operations the rendered image
// becomes the base and the list starts again; a later resize scales that base.
class RetainedCanvas {
public:
    static constexpr std::size_t FoldLimit = 1 << 18;
    static constexpr std::size_t RasterizeBatch = 1 << 14;
    static constexpr std::size_t JournalBudget = PixelJournal::Budget;
    static constexpr std::size_t JournalMarks = PixelJournal::MarkLimit;

    explicit RetainedCanvas(QRgb background = qRgb(240, 240, 240));

    void setBackground(QRgb color);
    QRgb background() const { return background_; }
    // Renders everything again at a new size in device pixels, ratio device pixels to a
    // window pixel.
    void setPixelSize(QSize size, qreal ratio = 1);
    QSize pixelSize() const { return image_.size(); }

    // A square dot width pixels across around the pixel holding (x, y).
    void dot(float x, float y, int width, QRgb color);
    void line(float x1, float y1, float x2, float y2, int width, QRgb color);
    // radius is relative to the width: the circle is round whatever the aspect.
    void circle(float x, float y, float radius, int width, QRgb color);
    void clear();

    // The image with every operation so far rasterized, and the device-pixel rectangle that
    // changed since the previous call.
    const QImage& image();
    QRect takeDirtyRect();
    std::size_t pendingOperations() const { return ops_.size() - rendered_; }
    std::size_t retainedOperations() const { return ops_.size(); }
    bool hasFoldedBase() const { return !base_.isNull(); }

    // Where the drawing stands, so that it can be taken back there: on which canvas, and on
    // which generation of it, which changes whenever the operations so far are dropped
    // (cleared, or folded into the base image).
    struct Mark {
        std::uint64_t canvas = 0;
        std::uint64_t generation = 0;
        std::size_t operations = 0;
    };
    // Later operations are never reordered across a mark taken here.
    Mark mark();
    // Takes the drawing back to a mark: the operations after it are dropped and the pixels they
    // covered become what they were before them, the same pixels as if they had never been
    // drawn. The pixels they painted over are kept for the last JournalMarks marks, up to
    // JournalBudget bytes, so that taking a plot back costs about what drawing it did; beyond
    // that they are drawn again from the operations before. False, and nothing changed, when the
    // mark is of another canvas or generation: whoever took it must draw again from a record of
    // its own.
    bool rewind(Mark to);
    // The number of times the operations so far were dropped.
    std::uint64_t generation() const { return generation_; }

    // Replays the drawing through a painter on any device, size window pixels across: the part
    // folded into the base goes in as an image, every later operation as a painter call, so a
    // vector device keeps them as vector elements. Placed as the image places them at ratio 1.
    void paint(QPainter& painter, QSize size) const { paint(painter, size, background_); }
    // The same on another background, which also takes the place of the window's background in
    // the folded part: paper is white, whatever the screen's colour.
    void paint(QPainter& painter, QSize size, QRgb background) const;

private:
    using Op = CanvasOperation;

    void append(const Op& op);
    // Rasterizes the operations from the given one on; with a clip, only the pixels inside it,
    // drawing again what is already in the journal.
    void rasterize(std::size_t from, const QRect& clip = {});
    void renderAll();
    void fold();

    QRgb background_;
    QImage base_;
    QImage image_;
    qreal ratio_ = 1;
    std::vector<Op> ops_;
    std::size_t rendered_ = 0;
    // A line is not moved past a dot below this operation (see line()).
    std::size_t barrier_ = 0;
    std::uint64_t generation_ = 0;
    QRect dirty_;

    PixelJournal journal_;
    CanvasIdentity identity_;
};
