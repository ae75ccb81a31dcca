// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageBoxApplyQuestion.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

bool MessageBoxApplyQuestion::askToApply(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                    QMessageBox::NoButton, parent_);
    QPushButton* apply = box.addButton(QStringLiteral("Applica"), QMessageBox::AcceptRole);
    QPushButton* close = box.addButton(QStringLiteral("Chiudi"), QMessageBox::RejectRole);
    box.setDefaultButton(apply);
    box.setEscapeButton(close);
    box.exec();
    return box.clickedButton() == apply;
}
