#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SystemClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void SystemClipboard::setImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}
