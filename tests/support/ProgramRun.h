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
// ask for one.
inline ProgramRun runProgram(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CURVE_PROGRAM), arguments);
    if (!process.waitForFinished(60000))
        return {-1, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}
