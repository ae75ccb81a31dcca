// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AssignmentRules.h"

#include "NumberText.h"

QString lockedFieldTip() {
    return QStringLiteral("Fissato dalla consegna");
}

QString whyNoMoreCurves(const std::optional<Assignment>& assignment, std::size_t curvesDrawn) {
    if (!assignment || assignment->maxCurves <= 0 ||
        curvesDrawn < static_cast<std::size_t>(assignment->maxCurves))
        return {};
    return QStringLiteral("La consegna permette al massimo %1 curve: per disegnarne un'altra "
                          "annulla l'ultima (Ctrl+Z) o cancella il disegno.")
        .arg(assignment->maxCurves);
}

QString targetReachedText(const std::optional<Assignment>& assignment, const PlotRecord& curve) {
    if (!assignment || curve.points <= 0 || !assignment->reaches(curve.nearest.distance))
        return {};
    return QStringLiteral("Bersaglio raggiunto con la curva %1: distanza %2 (entro %3).")
        .arg(curve.curve)
        .arg(DoubleToReadableText(curve.nearest.distance),
             DoubleToReadableText(assignment->tolerance));
}
