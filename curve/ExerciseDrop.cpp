// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExerciseDrop.h"

#include "ExerciseCommands.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

QString firstExercise(const QMimeData* data) {
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && isExerciseFileName(url.toLocalFile()))
            return url.toLocalFile();
    return {};
}

} // namespace

ExerciseDrop::ExerciseDrop(QWidget& window, ExerciseCommands& commands)
    : window_(window), commands_(commands) {
    // A drop on a control that takes none reaches the window.
    window_.setAcceptDrops(true);
}

bool ExerciseDrop::takeEvent(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = firstExercise(drop->mimeData());
    if (path.isEmpty())
        return false;
    // A copy: a move would have the file manager delete the file.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    // Opened once the drop is over, so that a message or a long drawing does not keep the
    // program the file came from waiting.
    if (type == QEvent::Drop)
        QMetaObject::invokeMethod(
            &window_, [&commands = commands_, path] { commands.open(path); }, Qt::QueuedConnection);
    return true;
}
