// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"

namespace {

QFont font(const QString& family, QFont::StyleHint hint, qreal pointSize) {
    QFont f(family);
    f.setStyleHint(hint);
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace

QFont windowDefaultFont() {
    return sansSerifFont(8);
}

QFont sansSerifFont(qreal pointSize, bool bold) {
    QFont f = font(QStringLiteral("Liberation Sans"), QFont::SansSerif, pointSize);
    f.setBold(bold);
    return f;
}

QFont courierNewFont(qreal pointSize) {
    QFont f = font(QStringLiteral("Liberation Mono"), QFont::TypeWriter, pointSize);
    f.setFixedPitch(true);
    return f;
}
