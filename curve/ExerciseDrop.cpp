#include "ExerciseDrop.h"

#include "ExerciseFiles.h"
#include "Form4.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

QString firstExercise(const QMimeData* data) {
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && isExerciseFileName(url.toLocalFile()))
            return url.toLocalFile();
    return {};
}

} // namespace

ExerciseDrop::ExerciseDrop(Form4& window) : window_(window) {
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
            &window_, [&window = window_, path] { window.exerciseFiles().open(path); },
            Qt::QueuedConnection);
    return true;
}
