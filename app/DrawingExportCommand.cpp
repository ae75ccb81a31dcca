#include "DrawingExportCommand.h"

#include "CommandLine.h"
#include "DrawingSave.h"
#include "ExerciseFile.h"
#include "Form4.h"
#include "Prompter.h"

#include <cstdio>

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

} // namespace

int exportDrawing(const CommandLine& command) {
    const ExerciseReading reading = readExerciseFile(command.exercise);
    if (!reading.exercise) {
        printError(reading.message);
        return 1;
    }
    ErrorOutputPrompter prompter;
    // The curve window itself, never shown, draws the exercise as it does on the screen.
    Form4 window(&prompter);
    window.resize(command.size.isValid() ? command.size : reading.exercise->drawingSize);
    window.openExercise(*reading.exercise);
    const QString failure =
        saveDrawing(window.retainedDrawing(), window.size(), command.output, command.format);
    if (!failure.isEmpty()) {
        printError(failure);
        return 1;
    }
    return 0;
}
