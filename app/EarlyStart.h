// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <thread>

// The start's work that needs no application object, done on a second core while the
// application object connects to the display: reading the fonts' configuration, which the first
// window's texts wait for, and decoding the window icon's pictures. Create it first in main().
class EarlyStart {
public:
    // Without a window to show the work waits until asked for: no second thread then.
    explicit EarlyStart(bool windowsToShow);
    ~EarlyStart();
    EarlyStart(const EarlyStart&) = delete;
    EarlyStart& operator=(const EarlyStart&) = delete;

    // Every size of the window icon; call it once, after the application object exists.
    QIcon windowIcon();

private:
    QList<QImage> iconPictures_;
    std::thread worker_;
};
