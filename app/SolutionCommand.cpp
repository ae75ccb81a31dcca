#include "SolutionCommand.h"

#include "CommandLine.h"
#include "CurveModel.h"
#include "DisplacementSearch.h"
#include "ExerciseFile.h"
#include "NumberText.h"
#include "Prompter.h"
#include "StandardOutput.h"
#include "SurfaceWidget.h"

#include <QLocale>
#include <cstdio>

namespace {

void printError(const QString& message) {
    std::fputs(qUtf8Printable(message + u'\n'), stderr);
}

// The exercise's field texts, as the window's fields would hold them.
class ExerciseFields final : public CurveFields {
public:
    explicit ExerciseFields(ExerciseControls controls) : controls_(std::move(controls)) {}
    QString fieldText(Field field) const override { return controls_.field(field); }
    void setFieldText(Field field, const QString& text) override { controls_.field(field) = text; }

private:
    ExerciseControls controls_;
};

// What a plot would say of the fields, on standard error.
class CountingPrompter final : public Prompter {
public:
    int messages = 0;
    void MsgBox(const QString& text) override {
        printError(text);
        ++messages;
    }
};

} // namespace

int printSolution(const CommandLine& command, const QString& program) {
    const ExerciseReading reading = readExerciseFile(command.exercise);
    if (!reading.exercise) {
        printError(reading.message);
        return 1;
    }
    ExerciseFields fields(reading.exercise->controls);
    CountingPrompter prompter;
    // The readers draw nothing: the surface is never shown.
    SurfaceWidget unseen;
    CurveModel model(unseen, fields, prompter, [] { return 0.0; });
    PlotRecord values = model.readForSearch();
    if (prompter.messages > 0)
        return 1;
    values.Incr = reading.exercise->Incr;
    const std::optional<Displacements> found = findDisplacements(values);
    if (!found) {
        printError(QStringLiteral("Nessuna posizione delle barre disegna un punto della curva"));
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
