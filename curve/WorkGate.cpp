// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkGate.h"

#include "BarPlayer.h"
#include "CurveDocument.h"
#include "SaveQuestion.h"
#include "WindowSeams.h"

#include <QFileInfo>

bool WorkGate::pass(Change change) {
    player_.stop();
    return change == Change::Keeps || settleUnsavedChanges();
}

bool WorkGate::settleUnsavedChanges() {
    if (!document_.hasUnsavedChanges())
        return true;
    const QString text = QStringLiteral("Salvare le modifiche all'esercizio \"%1\"?")
                             .arg(QFileInfo(document_.path()).fileName());
    switch (seams_.saveQuestion->askToSave(text)) {
    case SaveQuestion::Answer::Save:
        return save_();
    case SaveQuestion::Answer::Discard:
        return true;
    case SaveQuestion::Answer::Cancel:
        break;
    }
    return false;
}
