// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SearchValues.h"

#include "CurveModel.h"
#include "NumberText.h"
#include "Prompter.h"
#include "UnseenSurface.h"

namespace {

// The field texts, as the window's fields would hold them; a fallback rewrites the copy only.
class CopiedFields final : public CurveFields {
public:
    explicit CopiedFields(ExerciseControls controls) : controls_(std::move(controls)) {}
    QString fieldText(Field field) const override { return controls_.field(field); }
    void setFieldText(Field field, const QString& text) override { controls_.field(field) = text; }

private:
    ExerciseControls controls_;
};

// Passes the messages on and counts them.
class CountingPrompter final : public Prompter {
public:
    explicit CountingPrompter(Prompter& to) : to_(to) {}
    int messages = 0;
    void MsgBox(const QString& text) override {
        ++messages;
        to_.MsgBox(text);
    }

private:
    Prompter& to_;
};

} // namespace

std::optional<PlotRecord> searchValuesOf(const ExerciseControls& controls, Prompter& prompter) {
    CopiedFields fields(controls);
    CountingPrompter counting(prompter);
    // The readers draw nothing.
    UnseenSurface unseen;
    CurveModel model(unseen, fields, counting, [] { return 0.0; });
    const PlotRecord values = model.readForSearch();
    if (counting.messages > 0)
        return std::nullopt;
    return values;
}

QString noDisplacementsText() {
    return QStringLiteral("Nessuna posizione delle barre disegna un punto della curva");
}

ExerciseSolution solutionOf(const Exercise& exercise, Prompter& prompter,
                            const SearchProgress& progress) {
    using Outcome = ExerciseSolution::Outcome;
    std::optional<PlotRecord> values = searchValuesOf(exercise.controls, prompter);
    if (!values)
        return {Outcome::FieldRefused, {}};
    values->Incr = exercise.Incr;
    bool stopped = false;
    const std::optional<Displacements> found =
        nearestDisplacements(*values, {}, [&](std::int64_t done, std::int64_t total) {
            stopped = progress && !progress(done, total);
            return !stopped;
        });
    if (stopped)
        return {Outcome::Stopped, {}};
    if (!found)
        return {Outcome::NoPosition, {}};
    return {Outcome::Found, *found};
}

QString solutionText(const Displacements& found) {
    return QStringLiteral("orizzontale %1, verticale %2, distanza %3")
        .arg(found.SPTX)
        .arg(found.SPTY)
        .arg(DoubleToReadableText(found.distance));
}
