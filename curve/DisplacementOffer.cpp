// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DisplacementOffer.h"

#include "ApplyQuestion.h"
#include "CurveDocument.h"
#include "DisplacementSearch.h"
#include "LongWorkProgress.h"
#include "NumberText.h"
#include "Prompter.h"
#include "SearchValues.h"
#include "WindowSeams.h"

#include <QScrollBar>

bool displacementSearchAllowed(const std::optional<Assignment>& assignment) {
    return !assignment || assignment->solutionAllowed;
}

void offerDisplacements(QWidget& window, CurveDocument& document, std::array<QScrollBar*, 2> bars,
                        double nextMoveIncr, const WindowSeams& seams) {
    std::optional<PlotRecord> values =
        searchValuesOf(document.exercise().controls, *seams.messages);
    if (!values)
        return;
    values->Incr = nextMoveIncr;
    const auto [horizontal, vertical] = bars;
    const DisplacementRanges ranges{horizontal->minimum(), horizontal->maximum(),
                                    vertical->minimum(), vertical->maximum()};
    std::optional<Displacements> found;
    {
        LongWorkProgress progress(&window, QStringLiteral("Ricerca degli spostamenti"));
        bool cancelled = false;
        found = nearestDisplacements(*values, ranges, [&](std::int64_t done, std::int64_t total) {
            cancelled = !progress.proceed(double(done), double(total));
            return !cancelled;
        });
        if (cancelled)
            return;
    }
    if (!found) {
        seams.messages->MsgBox(noDisplacementsText());
        return;
    }
    const int h = found->SPTX, v = found->SPTY;
    const QString text = QStringLiteral("Orizzontale %1, verticale %2: la curva passa a %3 dal "
                                        "PUNTO.")
                             .arg(h)
                             .arg(v)
                             .arg(DoubleToReadableText(found->distance));
    if (!seams.applyQuestion->askToApply(text))
        return;
    // Bars already in place would leave an empty step to undo.
    if (h == horizontal->value() && v == vertical->value())
        return;
    // Each bar's handler plots as a move by hand does; together they are one step, which holds
    // every curve they add, each marked as the search's.
    const auto bySearch = document.placingBySearch();
    document.asStep(CurveDocument::StepKind::ReplacesDrawing, [&] {
        horizontal->setValue(h);
        vertical->setValue(v);
    });
}
