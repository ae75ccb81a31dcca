#include "DisplacementFinder.h"

#include "ApplyQuestion.h"
#include "DisplacementSearch.h"
#include "Form4.h"
#include "LongWorkProgress.h"
#include "NumberText.h"
#include "ScrollBar.h"
#include "SearchValues.h"

#include <QCheckBox>

namespace {

// The values the next move of a bar plots with. In multiple-curve mode it adds a curve on the
// scale as it stands; in single-curve mode it clears the drawing and sets the scale up again
// with the window's ratio, which may have changed since (a calibration, an undo).
std::optional<PlotRecord> nextPlotValues(Form4& window) {
    std::optional<PlotRecord> values =
        searchValuesOf(window.exercise().controls, window.prompter());
    if (values)
        values->Incr =
            window.Check1->isChecked() ? window.model().scaleIncr() : window.activationIncr();
    return values;
}

} // namespace

bool displacementSearchAllowed(const std::optional<Assignment>& assignment) {
    return !assignment || assignment->solutionAllowed;
}

void findDisplacementsIn(Form4& window) {
    const std::optional<PlotRecord> values = nextPlotValues(window);
    if (!values)
        return;
    const DisplacementRanges ranges{window.HScroll1->minimum(), window.HScroll1->maximum(),
                                    window.HScroll2->minimum(), window.HScroll2->maximum()};
    std::optional<Displacements> found;
    {
        LongWorkProgress progress(&window, QStringLiteral("Ricerca degli spostamenti"));
        bool cancelled = false;
        found = findDisplacements(*values, ranges, [&](std::int64_t done, std::int64_t total) {
            cancelled = !progress.proceed(double(done), double(total));
            return !cancelled;
        });
        if (cancelled)
            return;
    }
    if (!found) {
        window.prompter().MsgBox(noDisplacementsText());
        return;
    }
    const int h = found->SPTX, v = found->SPTY;
    const QString text = QStringLiteral("Orizzontale %1, verticale %2: la curva passa a %3 dal "
                                        "PUNTO.")
                             .arg(h)
                             .arg(v)
                             .arg(DoubleToReadableText(found->distance));
    if (!window.applyQuestion().askToApply(text))
        return;
    // Bars already in place would leave an empty step to undo.
    if (h == window.HScroll1->value() && v == window.HScroll2->value())
        return;
    // Each bar's handler plots as a move by hand does; together they are one step, which holds
    // every curve they add, each marked as the search's.
    const auto bySearch = window.model().placingBySearch();
    window.document().asStep(true, [&] {
        window.HScroll1->setValue(h);
        window.HScroll2->setValue(v);
    });
}
