// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The real program run from its command line, with its exit status and what it said.
struct ProgramRun {
    int status;
    QString output; // standard output and error together
};

// Runs the program built as CURVE_PROGRAM with no display at all: whatever needs none must not
// ask for one. With a full device as standard output, what is said is standard error alone.
inline ProgramRun runProgram(const QStringList& arguments, bool outputToFullDevice = false) {
    QProcess process;
    if (outputToFullDevice)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    else
        process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CURVE_PROGRAM), arguments);
    if (!process.waitForFinished(60000))
        return {-1, "did not finish"};
    return {
        process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(outputToFullDevice ? process.readAllStandardError() : process.readAll())};
}
