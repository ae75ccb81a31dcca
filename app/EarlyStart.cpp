#include "EarlyStart.h"

#include <QDirIterator>
#include <QPixmap>
#include <QThread>
#include <fontconfig/fontconfig.h>

EarlyStart::EarlyStart() {
    // Qt takes the first thread that asks for its thread data as the main one: this one, not
    // the worker, which creates Qt objects to read the icon.
    QThread::currentThread();
    worker_ = std::thread([this] {
        // Qt's font database calls this again and finds the configuration already loaded.
        FcInit();
        for (QDirIterator sizes(QStringLiteral(":/icons")); sizes.hasNext();)
            iconPictures_ << QImage(sizes.next());
    });
}

EarlyStart::~EarlyStart() {
    if (worker_.joinable())
        worker_.join();
}

QIcon EarlyStart::windowIcon() {
    worker_.join();
    QIcon icon;
    for (const QImage& picture : iconPictures_)
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}
