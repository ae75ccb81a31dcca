// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What a save dialog offers: its title, the file it suggests, its filters (the first is chosen
// at first), and the file that a chosen name and filter lead to, which is the one the dialog
// asks about before replacing it.
struct SaveChoice {
    QString title;
    QString suggestedPath;
    QStringList filters;
    std::function<QString(const QString& chosen, const QString& filter)> targetFor;
};

// Asks where to save; an empty path means the user cancelled.
class SaveFileAsker {
public:
    virtual ~SaveFileAsker() = default;
    virtual QString askSaveFileName(const SaveChoice& choice, QString& selectedFilter) = 0;
};

// Asks which file to open, showing folder first; an empty path means the user cancelled.
class OpenFileAsker {
public:
    virtual ~OpenFileAsker() = default;
    virtual QString askOpenFileName(const QString& title, const QString& folder,
                                    const QStringList& filters) = 0;
};

// Asks for a folder, showing folder first; an empty path means the user cancelled.
class FolderAsker {
public:
    virtual ~FolderAsker() = default;
    virtual QString askFolder(const QString& title, const QString& folder) = 0;
};
