// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

// Where copied text and pictures go; tests record them instead of touching the system's
// clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
    virtual void setImage(const QImage& image) = 0;
};

// The system's clipboard.
class SystemClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
    void setImage(const QImage& image) override;
};
