#include "ExerciseFiles.h"

#include "AtomicFile.h"
#include "ExerciseFile.h"
#include "FileDialogAsker.h"
#include "Form4.h"
#include "RecentExercises.h"
#include "SaveQuestion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <memory>

namespace {

const QString Suffix = QStringLiteral("curva");

// Shows "Apertura di …" with "Annulla" once a drawing looks like taking more than about half a
// second; cancelling stops it.
class OpeningProgress final : public DrawingProgress {
public:
    OpeningProgress(QWidget* window, QString name) : window_(window), name_(std::move(name)) {
        clock_.start();
    }

    bool proceed(double done, double total) override {
        constexpr int Steps = 1000;
        if (!dialog_) {
            const qint64 elapsed = clock_.elapsed();
            if (elapsed < 100 || done <= 0 || double(elapsed) * total / done < 500)
                return true;
            dialog_ =
                std::make_unique<QProgressDialog>(QStringLiteral("Apertura di %1").arg(name_),
                                                  QStringLiteral("Annulla"), 0, Steps, window_);
            dialog_->setWindowModality(Qt::ApplicationModal);
            dialog_->setMinimumDuration(0);
        }
        dialog_->setValue(int(done / total * Steps));
        return !dialog_->wasCanceled();
    }

private:
    QWidget* window_;
    QString name_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
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

bool ExerciseFiles::settleUnsavedChanges() {
    const CurveDocument& document = window_.document();
    if (!document.hasUnsavedChanges())
        return true;
    const QString text = QStringLiteral("Salvare le modifiche all'esercizio \"%1\"?")
                             .arg(QFileInfo(document.path()).fileName());
    switch (window_.saveQuestion().askToSave(text)) {
    case SaveQuestion::Answer::Save:
        return save();
    case SaveQuestion::Answer::Discard:
        return true;
    case SaveQuestion::Answer::Cancel:
        break;
    }
    return false;
}

void ExerciseFiles::remember(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
    RecentExercises recent = loadRecentExercises();
    recent.add(path);
    storeRecentExercises(recent);
}

bool ExerciseFiles::openAsked() {
    if (!settleUnsavedChanges())
        return false;
    const QString path = window_.openFileAsker().askOpenFileName(QStringLiteral("Apri esercizio"),
                                                                 folder(), exerciseFileFilters());
    return !path.isEmpty() && openSettled(path);
}

bool ExerciseFiles::open(const QString& path) {
    return settleUnsavedChanges() && openSettled(path);
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
    return currentPath().isEmpty() ? saveAs() : saveTo(currentPath());
}

bool ExerciseFiles::saveAs() {
    const QString suggested = currentPath().isEmpty()
                                  ? QDir(folder()).filePath(QStringLiteral("esercizio.curva"))
                                  : currentPath();
    const SaveChoice choice{
        QStringLiteral("Salva esercizio"), suggested, exerciseFileFilters(),
        [](const QString& chosen, const QString&) { return exerciseTargetFor(chosen); }};
    QString filter = choice.filters.constFirst();
    const QString chosen = window_.saveFileAsker().askSaveFileName(choice, filter);
    return !chosen.isEmpty() && saveTo(exerciseTargetFor(chosen));
}

bool ExerciseFiles::saveTo(const QString& path) {
    const QString what = QStringLiteral("l'esercizio");
    const Exercise exercise = window_.exercise();
    QString reason = whyNotWritable(exercise);
    if (reason.isEmpty())
        reason = writeFileAtomically(path, exerciseToJson(exercise));
    if (!reason.isEmpty()) {
        window_.prompter().MsgBox(saveFailureMessage(what, path, reason));
        return false;
    }
    window_.document().saved(path);
    remember(path);
    return true;
}
