// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StandardOutput.h"

#include <cstdio>

int printToStandardOutput(const QString& text, const QString& program) {
    const QByteArray bytes = text.toUtf8();
    const bool written =
        std::fwrite(bytes.constData(), 1, bytes.size(), stdout) == std::size_t(bytes.size()) &&
        std::fflush(stdout) == 0;
    if (written)
        return 0;
    std::fputs(qUtf8Printable(
                   QStringLiteral("%1: impossibile scrivere sull'uscita standard\n").arg(program)),
               stderr);
    return 1;
}
