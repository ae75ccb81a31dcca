// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SystemClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void SystemClipboard::setImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}
