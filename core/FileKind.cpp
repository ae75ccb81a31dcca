// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileKind.h"

#include <QFile>
#include <sys/stat.h>

namespace {

bool statusOf(const QString& path, struct stat& status) {
    return ::stat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

QString whyNotAFile(const QString& path) {
    struct stat status {};
    if (!statusOf(path, status) || S_ISREG(status.st_mode))
        return {};
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("è una cartella, non un file");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("non è un file ma una pipe");
    if (S_ISSOCK(status.st_mode))
        return QStringLiteral("non è un file ma un socket");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return QStringLiteral("non è un file ma un dispositivo");
    return QStringLiteral("non è un file ordinario");
}

bool sameFile(const QString& one, const QString& other) {
    struct stat first {};
    struct stat second {};
    return statusOf(one, first) && statusOf(other, second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
