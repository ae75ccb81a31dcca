// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>
#include <cstddef>
#include <deque>

// The pixels that a drawing's operations painted over since its last few marks, so that taking
// the drawing back to a mark costs about what drawing it did: the kept pixels are put back
// instead of everything being drawn again. Operations are known by their index in the drawing.
//
// Memory is bounded: at most MarkLimit marks are kept, and past Budget bytes the oldest marks
// are given up; taking the drawing back to a mark given up is the drawing's own business.
class PixelJournal {
public:
    static constexpr std::size_t Budget = 16 << 20;
    static constexpr std::size_t MarkLimit = 128;
    static constexpr std::size_t None = std::size_t(-1);

    // A mark before operation op, the drawing's length at the time.
    void addMark(std::size_t op);
    // The first operation whose pixels are kept, None when no mark is.
    std::size_t from() const { return marks_.empty() ? None : marks_.front(); }
    // Keeps the pixels of area in image before operation op paints over them.
    void keep(std::size_t op, const QRect& area, const QImage& image);
    // Puts back into image the pixels that the operations from op on painted over, forgetting
    // them and the marks after op; returns the area put back.
    QRect restore(std::size_t op, QImage& image);
    void forget();

private:
    void dropOldestMark();

    struct Patch {
        std::size_t op;
        QRect area;
    };
    std::deque<Patch> patches_;
    std::deque<QRgb> pixels_;         // the patches' pixels, one patch after another
    std::deque<std::size_t> marks_;   // where the kept marks stand, oldest first
};
