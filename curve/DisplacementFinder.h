#pragma once

#include "Assignment.h"

#include <optional>

class Form4;

// "Trova spostamenti…" of the curve window: of every position of the two displacement bars,
// the one whose curve passes nearest the target, with the other values as the next move of a
// bar would plot them. A field a plot would refuse is said as the plot says it, and nothing is
// searched. A long search shows a progress dialog whose "Annulla" stops it. The answer is
// shown with "Applica", which moves both bars as moving them by hand would, horizontal first,
// as one step of the history, and "Chiudi", which changes nothing.
void findDisplacementsIn(Form4& window);

// Whether the exercise lets its student ask for the displacements.
bool displacementSearchAllowed(const std::optional<Assignment>& assignment);
