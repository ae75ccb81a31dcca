// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BarSweep.h"

#include <algorithm>
#include <cmath>

BarSweep::BarSweep(int minimum, int maximum, int position, double speed)
    : minimum_(minimum), span_(std::max(0, maximum - minimum)),
      speed_(std::clamp(speed, SlowestSpeed, FastestSpeed)) {
    // At the maximum, span along the way, the bar turns down.
    along_ = std::clamp(position, minimum, minimum + span_) - minimum;
}

int BarSweep::advance(double seconds) {
    if (span_ == 0)
        return minimum_;
    const double elapsed = std::clamp(seconds, 0.0, LongestFrameSeconds);
    along_ = std::fmod(along_ + elapsed * speed_ * span_ / SweepSeconds, 2.0 * span_);
    return position();
}

int BarSweep::position() const {
    const double offset = along_ <= span_ ? along_ : 2.0 * span_ - along_;
    return minimum_ + static_cast<int>(std::lround(offset));
}

void BarSweep::faster() {
    speed_ = std::min(speed_ * 2, FastestSpeed);
}

void BarSweep::slower() {
    speed_ = std::max(speed_ / 2, SlowestSpeed);
}
