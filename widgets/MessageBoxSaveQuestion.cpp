// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageBoxSaveQuestion.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

SaveQuestion::Answer MessageBoxSaveQuestion::askToSave(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                    QMessageBox::NoButton, parent_);
    QPushButton* save = box.addButton(QStringLiteral("Salva"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("Non salvare"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return Answer::Save;
    if (box.clickedButton() == discard)
        return Answer::Discard;
    return Answer::Cancel;
}
