#include "SolutionCommand.h"

#include "CommandLine.h"
#include "DisplacementSearch.h"
#include "ExerciseFile.h"
#include "NumberText.h"
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
    std::optional<PlotRecord> values = searchValuesOf(reading.exercise->controls, prompter);
    if (!values)
        return 1;
    values->Incr = reading.exercise->Incr;
    const std::optional<Displacements> found = nearestDisplacements(*values);
    if (!found) {
        printError(noDisplacementsText());
        return 1;
    }
    // The line reads the same whatever the user's regional settings.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    return printToStandardOutput(QStringLiteral("orizzontale %1, verticale %2, distanza %3\n")
                                     .arg(found->SPTX)
                                     .arg(found->SPTY)
                                     .arg(DoubleToReadableText(found->distance)),
                                 program);
}
