// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EarlyStart.h"

#include <QDirIterator>
#include <QPixmap>
#include <QThread>
#include <fontconfig/fontconfig.h>

namespace {

QList<QImage> iconPictures() {
    QList<QImage> pictures;
    for (QDirIterator sizes(QStringLiteral(":/icons")); sizes.hasNext();)
        pictures << QImage(sizes.next());
    return pictures;
}

} // namespace

EarlyStart::EarlyStart(bool windowsToShow) {
    if (!windowsToShow)
        return;
    // Qt takes the first thread that asks for its thread data as the main one: this one, not
    // the worker, which creates Qt objects to read the icon.
    QThread::currentThread();
    worker_ = std::thread([this] {
        // Qt's font database calls this again and finds the configuration already loaded.
        FcInit();
        iconPictures_ = iconPictures();
    });
}

EarlyStart::~EarlyStart() {
    if (worker_.joinable())
        worker_.join();
}

QIcon EarlyStart::windowIcon() {
    if (worker_.joinable())
        worker_.join();
    else
        iconPictures_ = iconPictures();
    QIcon icon;
    for (const QImage& picture : iconPictures_)
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}
