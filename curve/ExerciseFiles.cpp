#include "ExerciseFiles.h"

#include "AssignmentDialog.h"
#include "AssignmentWork.h"
#include "AtomicFile.h"
#include "ExerciseFile.h"
#include "FileAskers.h"
#include "Form4.h"
#include "LongWorkProgress.h"
#include "RecentExercises.h"
#include "WorkGate.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString Suffix = QStringLiteral("curva");

// Shows "Apertura di …" with "Annulla" once a drawing looks like taking more than about half a
// second; cancelling stops it.
class OpeningProgress final : public DrawingProgress {
public:
    OpeningProgress(QWidget* window, const QString& name)
        : progress_(window, QStringLiteral("Apertura di %1").arg(name)) {}
    bool proceed(double done, double total) override { return progress_.proceed(done, total); }

private:
    LongWorkProgress progress_;
};

} // namespace

QStringList exerciseFileFilters() {
    return {QStringLiteral("Esercizio (*.curva)")};
}

bool isExerciseFileName(const QString& path) {
    return QFileInfo(path).suffix().compare(Suffix, Qt::CaseInsensitive) == 0;
}

QString exerciseTargetFor(const QString& chosenPath) {
    return isExerciseFileName(chosenPath) ? chosenPath : chosenPath + '.' + Suffix;
}

QString ExerciseFiles::folder() const {
    if (!lastFolder_.isEmpty())
        return lastFolder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

const QString& ExerciseFiles::currentPath() const {
    return window_.document().path();
}

void ExerciseFiles::remember(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
    RecentExercises recent = loadRecentExercises();
    recent.add(path);
    storeRecentExercises(recent);
}

bool ExerciseFiles::openAsked() {
    if (!window_.workGate().pass(WorkGate::Change::Drops))
        return false;
    const QString path = window_.openFileAsker().askOpenFileName(QStringLiteral("Apri esercizio"),
                                                                 folder(), exerciseFileFilters());
    return !path.isEmpty() && openSettled(path);
}

bool ExerciseFiles::open(const QString& path) {
    return window_.workGate().pass(WorkGate::Change::Drops) && openSettled(path);
}

bool ExerciseFiles::openSettled(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
    const ExerciseReading reading = readExerciseFile(path);
    if (!reading.exercise) {
        window_.prompter().MsgBox(reading.message);
        return false;
    }
    OpeningProgress progress(&window_, QFileInfo(path).fileName());
    if (!window_.document().open(*reading.exercise, path, &progress))
        return false;
    remember(path);
    // The teacher's words come first, once the window that shows the exercise is up.
    const std::optional<Assignment>& assignment = reading.exercise->assignment;
    if (assignment && !assignment->text.isEmpty())
        QMetaObject::invokeMethod(
            &window_,
            [this, text = assignment->text] {
                window_.prompter().MsgBox(QStringLiteral("Consegna"), text);
            },
            Qt::QueuedConnection);
    return true;
}

bool ExerciseFiles::openRecent(const QString& path) {
    if (open(path))
        return true;
    // A file that is there but refused stays: it may open again once mended.
    if (!QFileInfo::exists(path)) {
        RecentExercises recent = loadRecentExercises();
        recent.remove(path);
        storeRecentExercises(recent);
    }
    return false;
}

void ExerciseFiles::forgetRecent() {
    storeRecentExercises(RecentExercises());
}

bool ExerciseFiles::save() {
    // An attempt never lands on the assignment as handed out without a name chosen for it.
    const bool handout = window_.document().file().handout;
    return currentPath().isEmpty() || handout ? saveAs() : saveTo(currentPath());
}

bool ExerciseFiles::saveAs() {
    QString suggested = currentPath();
    if (suggested.isEmpty())
        suggested = QDir(folder()).filePath(QStringLiteral("esercizio.curva"));
    else if (window_.document().file().handout)
        suggested = QFileInfo(suggested).dir().filePath(QFileInfo(suggested).completeBaseName() +
                                                        QStringLiteral(" - svolto.curva"));
    const QString chosen = askTarget(QStringLiteral("Salva esercizio"), suggested);
    return !chosen.isEmpty() && saveTo(chosen);
}

bool ExerciseFiles::saveAssignment() {
    const std::optional<Assignment> assignment = window_.assignmentAsker().askAssignment(
        window_.document().assignment().value_or(Assignment()));
    if (!assignment)
        return false;
    const QString chosen = askTarget(QStringLiteral("Salva consegna"),
                                     QDir(folder()).filePath(QStringLiteral("consegna.curva")));
    if (chosen.isEmpty() || !write(chosen, assignmentOf(window_.exercise(), *assignment)))
        return false;
    remember(chosen);
    return true;
}

QString ExerciseFiles::askTarget(const QString& title, const QString& suggested) {
    const SaveChoice choice{
        title, suggested, exerciseFileFilters(),
        [](const QString& chosen, const QString&) { return exerciseTargetFor(chosen); }};
    QString filter = choice.filters.constFirst();
    const QString chosen = window_.saveFileAsker().askSaveFileName(choice, filter);
    return chosen.isEmpty() ? chosen : exerciseTargetFor(chosen);
}

bool ExerciseFiles::saveTo(const QString& path) {
    if (!write(path, window_.exercise()))
        return false;
    window_.document().saved(path);
    remember(path);
    return true;
}

bool ExerciseFiles::write(const QString& path, const Exercise& exercise) {
    QString reason = whyNotWritable(exercise);
    if (reason.isEmpty())
        reason = writeFileAtomically(path, exerciseToJson(exercise));
    if (reason.isEmpty())
        return true;
    window_.prompter().MsgBox(saveFailureMessage(QStringLiteral("l'esercizio"), path, reason));
    return false;
}
