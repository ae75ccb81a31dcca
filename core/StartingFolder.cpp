// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StartingFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString startingFolder(UsersFolder kind, const QString& lastChosen) {
    if (!lastChosen.isEmpty())
        return lastChosen;
    const QString own = QStandardPaths::writableLocation(kind == UsersFolder::Documents
                                                             ? QStandardPaths::DocumentsLocation
                                                             : QStandardPaths::PicturesLocation);
    return !own.isEmpty() && QFileInfo(own).isDir() ? own : QDir::homePath();
}
