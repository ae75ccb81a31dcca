// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CurveDocument.h"

#include "AssignmentWork.h"
#include "CurveModel.h"
#include "KeptDrawing.h"

namespace {

// The drawing's cost, in the angles its plots walk: what a long drawing reports progress in.
double walkOf(const PlotRecord& curve) {
    return std::max(1.0, anglesWalked(curve.INST));
}

double targetOf(const WindowState& state, ParameterField field) {
    return plottedValue(field, state.controls.field(field));
}

} // namespace

CurveDocument::CurveDocument(DocumentControls& controls, CurveModel& model,
                             KeptDrawing& drawing)
    : controls_(controls), model_(model), drawing_(drawing), history_(*this) {}

void CurveDocument::asStep(StepKind kind, const std::function<void()>& command) {
    const bool began = beginStep(kind);
    command();
    if (began)
        endStep();
}

bool CurveDocument::beginStep(StepKind kind) {
    if (step_ || model_.scaleIncr() == 0)
        return false;
    const bool clears = kind == StepKind::ReplacesDrawing;
    step_ = OpenStep{clears, controls_.windowState(), drawing_.drawingMark(),
                     clears ? model_.curves() : std::vector<PlotRecord>()};
    return true;
}

void CurveDocument::endStep() {
    if (!step_)
        return;
    OpenStep step = std::move(*step_);
    step_.reset();
    const WindowState after = controls_.windowState();
    if (step.clears)
        history_.pushReplace(step.before, std::move(step.replaced), after, model_.curves());
    else if (!model_.curves().empty())
        history_.pushPlot(step.before, step.mark, after, model_.curves().back());
    controls_.startFieldsAfresh();
}

Exercise CurveDocument::exercise() const {
    const WindowState state = controls_.windowState();
    Exercise exercise;
    exercise.controls = state.controls;
    exercise.Incr = state.Incr;
    exercise.drawingSize = drawing_.drawingSize();
    exercise.Miocolor = state.Miocolor;
    exercise.curves = model_.curves();
    exercise.assignment = file_.assignment;
    exercise.student = file_.student;
    return exercise;
}

bool CurveDocument::open(const Exercise& exercise, const QString& path,
                         DrawingProgress* progress) {
    const bool setUp = model_.scaleIncr() != 0;
    const WindowState before = controls_.windowState();
    const WindowState after{exercise.controls, exercise.Miocolor, exercise.Incr, exercise.Incr};
    std::vector<PlotRecord> replaced = model_.takeCurves();
    // The file first: the drawing and the controls show what it holds.
    const DocumentFile fileBefore = std::exchange(
        file_, {path, 0, exercise.assignment, exercise.assignment && exercise.curves.empty(),
                false, exercise.student, exercise.student});
    // The drawing on the screen is kept aside until the new one is whole.
    RetainedCanvas shown =
        drawing_.exchangeDrawing(RetainedCanvas(drawing_.retainedDrawing().background()));
    if (!redrawWith(exercise.curves, after, progress)) {
        drawing_.exchangeDrawing(std::move(shown));
        file_ = fileBefore;
        model_.takeCurves();
        model_.putCurves(std::move(replaced));
        controls_.restoreWindowState(before);
        return false;
    }
    controls_.restoreWindowState(after);
    if (setUp)
        history_.pushOpening(before, std::move(replaced), after, model_.curves(), fileBefore);
    else
        openedBeforeFirstDrawing_ = true;
    file_.savedState = history_.state();
    return true;
}

void CurveDocument::saved(const QString& path) {
    file_.path = path;
    file_.savedState = history_.state();
    file_.handout = false;
    file_.savedStudent = file_.student;
}

bool CurveDocument::hasUnsavedChanges() const {
    // A step still open (a bar playing) holds changes the history does not count yet.
    return !file_.path.isEmpty() &&
           (history_.state() != file_.savedState || step_ || file_.student != file_.savedStudent);
}

void CurveDocument::restoreWindowState(const WindowState& state) {
    controls_.restoreWindowState(state);
}

RetainedCanvas::Mark CurveDocument::drawingMark() {
    return drawing_.drawingMark();
}

void CurveDocument::takeBackLastCurve(RetainedCanvas::Mark before, const WindowState& state) {
    model_.dropLastCurve();
    if (!drawing_.rewindDrawing(before))
        redrawWith(model_.curves(), state, nullptr);
}

void CurveDocument::drawAgain(const PlotRecord& curve) {
    model_.replay(curve);
}

bool CurveDocument::redrawWith(const std::vector<PlotRecord>& curves, const WindowState& state,
                               DrawingProgress* progress) {
    // Copied first: the list may be the model's own.
    const std::vector<PlotRecord> toDraw = curves;
    double total = 0;
    for (const PlotRecord& curve : toDraw)
        total += walkOf(curve);
    drawing_.Cls();
    model_.takeCurves();
    // A drawing starts with the axes, as the activation after a clearing draws them.
    model_.setUpScale(toDraw.empty() ? state.Incr : toDraw.front().Incr);
    model_.drawAxes();
    if (toDraw.empty() && file_.assignment)
        model_.drawTarget(targetOf(state, ParameterField::Text3),
                          targetOf(state, ParameterField::Text8));
    double done = 0;
    for (const PlotRecord& curve : toDraw) {
        if (progress && !progress->proceed(done, total))
            return false;
        model_.replay(curve);
        done += walkOf(curve);
    }
    return true;
}
