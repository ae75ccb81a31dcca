#include "WorkGate.h"

#include "BarAnimator.h"
#include "ExerciseFiles.h"
#include "Form4.h"
#include "SaveQuestion.h"

#include <QFileInfo>

bool WorkGate::pass(Change change) {
    window_.animator().stop();
    return change == Change::Keeps || settleUnsavedChanges();
}

bool WorkGate::settleUnsavedChanges() {
    const CurveDocument& document = window_.document();
    if (!document.hasUnsavedChanges())
        return true;
    const QString text = QStringLiteral("Salvare le modifiche all'esercizio \"%1\"?")
                             .arg(QFileInfo(document.path()).fileName());
    switch (window_.saveQuestion().askToSave(text)) {
    case SaveQuestion::Answer::Save:
        return window_.exerciseFiles().save();
    case SaveQuestion::Answer::Discard:
        return true;
    case SaveQuestion::Answer::Cancel:
        break;
    }
    return false;
}
