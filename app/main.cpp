// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"
#include "DrawingExportCommand.h"
#include "EarlyStart.h"
#include "Fonts.h"
#include "Forms.h"
#include "QtTranslations.h"
#include "SummaryCommand.h"
#include "SolutionCommand.h"
#include "StandardOutput.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[]) {
    // A drawing exported or printed, a summary, a solution, the help or the version need no
    // display: chosen before Qt starts.
    const bool windowless = needsNoWindow(argc, argv);
    if (windowless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only the windows' start is worth a second thread; a fontconfig set up on it while the
    // curve window is built for an export would race with Qt's own.
    EarlyStart early(!windowless);
    QApplication application(argc, argv);
    installQtItalian(application);
    QCoreApplication::setApplicationName(QStringLiteral("Curve"));
    // Lets the desktop match the windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(CURVE_APP_ID));
    QApplication::setFont(windowDefaultFont());

    const QString program = QFileInfo(QCoreApplication::arguments().value(0)).fileName();
    const CommandLine command = parseCommandLine(QCoreApplication::arguments());
    switch (command.task) {
    case CommandLine::Task::Help:
        return printToStandardOutput(helpText(program), program);
    case CommandLine::Task::Version:
        return printToStandardOutput(versionText(program), program);
    case CommandLine::Task::Wrong:
        std::fputs(
            qUtf8Printable(
                QStringLiteral("%1: %2.\nPer l'aiuto: %1 --help\n").arg(program, command.problem)),
            stderr);
        return 2;
    case CommandLine::Task::Export:
        return exportDrawing(command);
    case CommandLine::Task::Print:
        return writeSheet(command);
    case CommandLine::Task::Summary:
        return writeSummary(command);
    case CommandLine::Task::Solution:
        return printSolution(command, program);
    case CommandLine::Task::Windows:
        break;
    }

    QApplication::setWindowIcon(early.windowIcon());
    Forms forms;
    if (command.exercise.isEmpty() || !forms.openExercise(command.exercise))
        forms.show(FormId::Form1);
    return QApplication::exec();
}
