// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DrawingExportCommand.h"

#include "CommandLine.h"
#include "DrawingSave.h"
#include "ExerciseFile.h"
#include "Form4.h"
#include "Prompter.h"
#include "SheetPrinting.h"

#include <cstdio>
#include <functional>

namespace {

void printError(const QString& message) {
    std::fputs(qUtf8Printable(message + u'\n'), stderr);
}

// The drawing of an exercise reads no field, so nothing is ever asked; were it otherwise, the
// question would be on standard error rather than in a window no one sees.
class ErrorOutputPrompter final : public Prompter {
public:
    void MsgBox(const QString& text) override { printError(text); }
};

// The curve window itself, never shown, draws the exercise as it does on the screen; write
// puts what is asked of it into the output and tells why it could not. Returns the exit status.
int withExerciseDrawn(const CommandLine& command, const std::function<QString(Form4&)>& write) {
    const ExerciseReading reading = readExerciseFile(command.exercise);
    if (!reading.exercise) {
        printError(reading.message);
        return 1;
    }
    ErrorOutputPrompter prompter;
    Form4 window(&prompter);
    window.resize(command.size.isValid() ? command.size : reading.exercise->drawingSize);
    window.openExercise(*reading.exercise);
    const QString failure = write(window);
    if (!failure.isEmpty()) {
        printError(failure);
        return 1;
    }
    return 0;
}

} // namespace

int exportDrawing(const CommandLine& command) {
    return withExerciseDrawn(command, [&command](Form4& window) {
        return saveDrawing(window.retainedDrawing(), window.size(), command.output, command.format);
    });
}

int writeSheet(const CommandLine& command) {
    return withExerciseDrawn(
        command, [&command](Form4& window) { return saveSheet(sheetOf(window.document()), command.output); });
}
