// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Assignment.h"

#include <array>
#include <optional>

class CurveDocument;
class QScrollBar;
class QWidget;
struct WindowSeams;

// "Trova spostamenti…" of the curve window: of every position of the two displacement bars
// (horizontal, vertical), the one whose curve passes nearest the target, with the values on the
// screen and the ratio the next move of a bar plots with (the window knows which). A field a plot
// would refuse is said as the plot says it, and nothing is searched. A long search shows a progress
// dialog whose "Annulla" stops it. The answer is shown with "Applica", which moves both bars as
// moving them by hand would, horizontal first, as one step of the history, and "Chiudi", which
// changes nothing.
void offerDisplacements(QWidget& window, CurveDocument& document, std::array<QScrollBar*, 2> bars,
                        double nextMoveIncr, const WindowSeams& seams);

// Whether the exercise lets its student ask for the displacements.
bool displacementSearchAllowed(const std::optional<Assignment>& assignment);
