// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PixelJournal.h"

#include <algorithm>

void PixelJournal::addMark(std::size_t op) {
    if (marks_.empty() || marks_.back() != op)
        marks_.push_back(op);
    if (marks_.size() > MarkLimit)
        dropOldestMark();
}

void PixelJournal::keep(std::size_t op, const QRect& area, const QImage& image) {
    const QRect kept = area & image.rect();
    if (kept.isEmpty())
        return;
    patches_.push_back({op, kept});
    for (int y = kept.top(); y <= kept.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        pixels_.insert(pixels_.end(), row + kept.left(), row + kept.right() + 1);
    }
    // Over the budget the oldest marks are given up: their rewinds draw again instead.
    const auto bytes = [this] {
        return pixels_.size() * sizeof(QRgb) + patches_.size() * sizeof(Patch);
    };
    while (bytes() > Budget && marks_.size() > 1)
        dropOldestMark();
    if (bytes() > Budget)
        forget();
}

void PixelJournal::dropOldestMark() {
    marks_.pop_front();
    const std::size_t first = from();
    while (!patches_.empty() && patches_.front().op < first) {
        const QRect& area = patches_.front().area;
        pixels_.erase(pixels_.begin(),
                      pixels_.begin() + std::ptrdiff_t(area.width()) * area.height());
        patches_.pop_front();
    }
}

QRect PixelJournal::restore(std::size_t op, QImage& image) {
    QRect restored;
    while (!patches_.empty() && patches_.back().op >= op) {
        const QRect& area = patches_.back().area;
        auto from = pixels_.end() - std::ptrdiff_t(area.width()) * area.height();
        const auto start = from;
        for (int y = area.top(); y <= area.bottom(); ++y, from += area.width())
            std::copy(from, from + area.width(),
                      reinterpret_cast<QRgb*>(image.scanLine(y)) + area.left());
        pixels_.erase(start, pixels_.end());
        restored |= area;
        patches_.pop_back();
    }
    while (!marks_.empty() && marks_.back() > op)
        marks_.pop_back();
    return restored;
}

void PixelJournal::forget() {
    // Assigned afresh so that the deques give their memory back.
    patches_ = {};
    pixels_ = {};
    marks_.clear();
}
