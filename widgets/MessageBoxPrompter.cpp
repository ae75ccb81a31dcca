// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageBoxPrompter.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

void MessageBoxPrompter::MsgBox(const QString& text) {
    MsgBox(QCoreApplication::applicationName(), text);
}

void MessageBoxPrompter::MsgBox(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    // Some desktop themes put an icon on the OK button; the message carries none at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}
