// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "GuideWindow.h"

#include <QAction>
#include <QFontDatabase>
#include <QImage>
#include <QScreen>
#include <algorithm>

namespace {

constexpr int PictureWidth = 720;
// Text to be read at length, larger than the windows' small controls.
constexpr double TextPoints = 11;

} // namespace

GuideWindow::GuideWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Guida di Curve sulla corda"));
    setOpenExternalLinks(true);
    QFont text = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    text.setPointSizeF(std::max(text.pointSizeF(), TextPoints));
    setFont(text);
    document()->setDocumentMargin(24);
    setSource(QUrl(QStringLiteral("qrc:/guide/guida.md")), QTextDocument::MarkdownResource);
    const QSize wanted(PictureWidth + 100, 900);
    resize(screen() ? wanted.boundedTo(screen()->availableSize() * 0.9) : wanted);
}

QVariant GuideWindow::loadResource(int type, const QUrl& name) {
    const QVariant resource = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::ImageResource)
        return resource;
    const QImage picture = QImage::fromData(resource.toByteArray());
    if (picture.width() <= PictureWidth)
        return resource;
    return picture.scaledToWidth(PictureWidth, Qt::SmoothTransformation);
}

QAction* addGuideAction(QWidget& window) {
    auto* action = new QAction(QStringLiteral("Guida"), &window);
    action->setShortcut(QKeySequence::HelpContents);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, [&window] {
        auto* guide = window.findChild<GuideWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!guide)
            guide = new GuideWindow(&window);
        guide->show();
        guide->raise();
        guide->activateWindow();
    });
    window.addAction(action);
    return action;
}
