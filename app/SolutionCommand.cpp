// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SolutionCommand.h"

#include "CommandLine.h"
#include "ExerciseFile.h"
#include "Prompter.h"
#include "SearchValues.h"
#include "StandardOutput.h"

#include <QLocale>
#include <cstdio>

namespace {

void printError(const QString& message) {
    std::fputs(qUtf8Printable(message + u'\n'), stderr);
}

// What a plot would say of the fields, on standard error.
class StandardErrorPrompter final : public Prompter {
public:
    void MsgBox(const QString& text) override { printError(text); }
};

} // namespace

int printSolution(const CommandLine& command, const QString& program) {
    const ExerciseReading reading = readExerciseFile(command.exercise);
    if (!reading.exercise) {
        printError(reading.message);
        return 1;
    }
    StandardErrorPrompter prompter;
    const ExerciseSolution solution = solutionOf(*reading.exercise, prompter);
    if (solution.outcome == ExerciseSolution::Outcome::FieldRefused)
        return 1;
    if (solution.outcome != ExerciseSolution::Outcome::Found) {
        printError(noDisplacementsText());
        return 1;
    }
    // The line reads the same whatever the user's regional settings.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    return printToStandardOutput(solutionText(solution.found) + u'\n', program);
}
