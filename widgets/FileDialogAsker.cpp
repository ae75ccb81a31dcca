// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileDialogAsker.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

bool confirmReplace(QWidget* parent, const QString& path) {
    // Like the program's messages: no icon, on the box or on its buttons.
    QMessageBox box(
        QMessageBox::NoIcon, QCoreApplication::applicationName(),
        QStringLiteral("Il file \"%1\" esiste già. Sostituirlo?").arg(QFileInfo(path).fileName()),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sostituisci"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Annulla"));
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString FileDialogAsker::askSaveFileName(const SaveChoice& choice, QString& selectedFilter) {
    QFileDialog dialog(parent_, choice.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(choice.filters);
    dialog.setDirectory(QFileInfo(choice.suggestedPath).absolutePath());
    dialog.selectFile(QFileInfo(choice.suggestedPath).fileName());
    // A name typed without a suffix gets the chosen format's, before the dialog asks whether
    // to replace an existing file of that name.
    const auto followFilter = [&](const QString& filter) {
        dialog.setDefaultSuffix(QFileInfo(choice.targetFor(QStringLiteral("x"), filter)).suffix());
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    followFilter(choice.filters.value(0));
    // The dialog's own question on replacing a file names what was typed, with a warning icon:
    // asked here instead, on the name that will really be written, and "no" goes back to the
    // dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        const QString target = choice.targetFor(chosen, dialog.selectedNameFilter());
        if (QFileInfo::exists(target) && !confirmReplace(parent_, target))
            continue;
        selectedFilter = dialog.selectedNameFilter();
        return chosen;
    }
    return {};
}

QString FileDialogAsker::askOpenFileName(const QString& title, const QString& folder,
                                         const QStringList& filters) {
    QFileDialog dialog(parent_, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString FileDialogAsker::askFolder(const QString& title, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent_, title, folder);
}
