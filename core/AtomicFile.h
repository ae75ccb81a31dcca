#pragma once

#include <QByteArray>
#include <QString>

// Writes contents to path whole or not at all: when writing fails any existing file is left as
// it was and no partial file remains. Returns an empty string, or the reason in words the user
// can act on ("la cartella non esiste").
QString writeFileAtomically(const QString& path, const QByteArray& contents);

// "Impossibile salvare <what> in "<path>": <reason>." with the path in full.
QString saveFailureMessage(const QString& what, const QString& path, const QString& reason);
