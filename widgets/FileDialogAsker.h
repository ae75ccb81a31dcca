// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileAskers.h"

class QWidget;

// The real file dialog, modal over the given window. An existing file is replaced only after a
// question in the program's words; "Annulla" goes back to the dialog.
class FileDialogAsker final : public SaveFileAsker, public OpenFileAsker, public FolderAsker {
public:
    explicit FileDialogAsker(QWidget* parent) : parent_(parent) {}
    QString askSaveFileName(const SaveChoice& choice, QString& selectedFilter) override;
    QString askOpenFileName(const QString& title, const QString& folder,
                            const QStringList& filters) override;
    QString askFolder(const QString& title, const QString& folder) override;

private:
    QWidget* parent_;
};

// The question before a file is replaced: "Il file "…" esiste già. Sostituirlo?", answered with
// "Sostituisci" or "Annulla".
bool confirmReplace(QWidget* parent, const QString& path);
