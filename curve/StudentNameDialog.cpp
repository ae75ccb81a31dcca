// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StudentNameDialog.h"

#include "ExerciseFile.h"

#include <QInputDialog>
#include <QLineEdit>

std::optional<QString> StudentNameDialogAsker::askStudentName(const QString& shown) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(QStringLiteral("Chi svolge l'esercizio?"));
    dialog.setLabelText(QStringLiteral("Nome e cognome"));
    dialog.setTextValue(shown);
    // A name the file could not keep is not typed in the first place.
    if (auto* field = dialog.findChild<QLineEdit*>())
        field->setMaxLength(ExerciseLimits::MaxStudentLength);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().simplified();
}
