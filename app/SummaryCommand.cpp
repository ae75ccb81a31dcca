// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SummaryCommand.h"

#include "AtomicFile.h"
#include "ClassSummary.h"
#include "CommandLine.h"
#include "ExerciseFile.h"
#include "SummaryCsv.h"

#include <algorithm>
#include <cstdio>

namespace {

void printError(const QString& message) {
    std::fputs(qUtf8Printable(message + u'\n'), stderr);
}

} // namespace

int writeSummary(const CommandLine& command) {
    std::optional<Exercise> handout;
    if (!command.assignment.isEmpty()) {
        ExerciseReading reading = readExerciseFile(command.assignment);
        if (!reading.exercise) {
            printError(reading.message);
            return 1;
        }
        handout = std::move(reading.exercise);
    }
    const std::vector<SummaryRow> rows = summarise(attemptFiles(command.attempts), handout);
    const QString failure = writeFileAtomically(command.output, summaryCsv(rows));
    if (!failure.isEmpty()) {
        printError(saveFailureMessage(QStringLiteral("il riepilogo"), command.output, failure));
        return 1;
    }
    bool allRead = true;
    for (const SummaryRow& row : rows)
        if (row.refused) {
            printError(row.note);
            allRead = false;
        }
    return allRead ? 0 : 1;
}
