// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Writes contents to path whole or not at all: when writing fails any existing file is left as
// it was and no partial file remains. The target is a file or nothing yet: a folder, a pipe, a
// socket or a device is left as it is and refused with its kind named. Every file the program
// writes goes through here. Returns an empty string, or the reason in words the user can act on
// ("la cartella non esiste", "non è un file ma una pipe").
QString writeFileAtomically(const QString& path, const QByteArray& contents);

// "Impossibile salvare <what> in "<path>": <reason>." with the path in full.
QString saveFailureMessage(const QString& what, const QString& path, const QString& reason);
