// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AtomicFile.h"

#include "FileKind.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Why a file could not be opened or replaced.
QString reasonFor(const QString& path, QFileDevice::FileError error) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("la cartella non esiste");
    if (!folder.isDir())
        return QStringLiteral("%1 non è una cartella")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (error == QFileDevice::RenameError)
        return QStringLiteral("il file esistente non può essere sostituito");
    return QStringLiteral("non è permesso scrivere in questa cartella");
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& contents) {
    // QSaveFile would rename its file over whatever is there: a pipe, a socket or a device would
    // become a file, and root would replace /dev/null. Only a file, or nothing yet, is replaced.
    if (const QString kind = whyNotAFile(path); !kind.isEmpty())
        return kind;
    // A file protected against writing stays so, though root could replace it. The file's own
    // mode is what counts: Qt's "user" permissions say what this process may do. A file that
    // may be written is replaced by one with its permissions (QSaveFile keeps them).
    const QFileInfo existing(path);
    const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (existing.isFile() && (!existing.isWritable() || !(existing.permissions() & writable)))
        return QStringLiteral("il file è protetto dalla scrittura");
    // Written into a temporary file next to the target and renamed over it only when complete.
    // Unbuffered: a buffered write that falls short when the disk fills up is flushed by
    // commit(), which ignores the failure and puts the truncated file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonFor(path, file.error());
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return QStringLiteral("la scrittura si è interrotta, forse il disco è pieno");
    }
    if (!file.commit())
        return reasonFor(path, file.error());
    return {};
}

QString saveFailureMessage(const QString& what, const QString& path, const QString& reason) {
    return QStringLiteral("Impossibile salvare %1 in \"%2\": %3.")
        .arg(what, QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason);
}
