#include "ExerciseDrop.h"

#include "ExerciseFiles.h"
#include "Form4.h"

#include <QDropEvent>
#include <QLineEdit>
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

ExerciseDrop::ExerciseDrop(Form4& window) : QObject(&window), window_(window) {
    // A field would take a dropped file for its path as text: it is asked first. A drop on any
    // other control reaches the window, the first that accepts drops.
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
    for (QLineEdit* field : window_.findChildren<QLineEdit*>())
        field->installEventFilter(this);
}

bool ExerciseDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = firstExercise(drop->mimeData());
    if (path.isEmpty())
        return QObject::eventFilter(watched, event);
    // A copy: a move would have the file manager delete the file.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    // Opened once the drop is over, so that a message or a long drawing does not keep the
    // program the file came from waiting.
    if (type == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [this, path] { window_.exerciseFiles().open(path); }, Qt::QueuedConnection);
    return true;
}
