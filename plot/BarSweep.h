// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A bar that plays by itself: from where it is towards its maximum (its minimum when it stands
// at the maximum), turning back at each end. It moves by the time that has passed, so a frame
// that comes late moves it further instead of frames piling up; a whole sweep from one end to the
// other lasts SweepSeconds at normal speed, whatever the bar's range.
class BarSweep {
public:
    static constexpr double SweepSeconds = 10;
    static constexpr int FramesPerSecond = 30;
    static constexpr double SlowestSpeed = 1.0 / 8, FastestSpeed = 8;
    // A pause longer than this (a message waiting for its OK) moves the bar no further.
    static constexpr double LongestFrameSeconds = 1;

    BarSweep(int minimum, int maximum, int position, double speed = 1);

    // The position after seconds more.
    int advance(double seconds);
    int position() const;

    // Twice as fast, twice as slow, within the limits.
    double speed() const { return speed_; }
    void faster();
    void slower();
    bool canGoFaster() const { return speed_ < FastestSpeed; }
    bool canGoSlower() const { return speed_ > SlowestSpeed; }

private:
    int minimum_;
    int span_;
    // How far along the way there and back: up from the minimum up to span, then down from the
    // maximum up to 2 span, where the way starts again.
    double along_;
    double speed_;
};
