// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Why a path cannot be read or written as a file, in the words every message uses: "è una
// cartella, non un file", "non è un file ma una pipe" (a socket, a device), "non è un file
// ordinario"; empty for a regular file and for a path where nothing is yet. A link counts as
// what it points to. Opening a pipe would wait for a writer for ever and a device may never end;
// replacing either would take it from whoever uses it.
QString whyNotAFile(const QString& path);

// Whether two paths name the same file however they are spelt (through a link, "..", another
// hard link): the same device and inode. False when either names nothing.
bool sameFile(const QString& one, const QString& other);
