#include "CurveDocument.h"

#include "CurveModel.h"
#include "SurfaceWidget.h"

namespace {

// The drawing's cost, in the angles its plots walk: what a long drawing reports progress in.
double walkOf(const PlotRecord& curve) {
    return std::max(1.0, anglesWalked(curve.INST));
}

} // namespace

CurveDocument::CurveDocument(DocumentControls& controls, CurveModel& model,
                             SurfaceWidget& drawing)
    : controls_(controls), model_(model), drawing_(drawing), history_(*this) {}

void CurveDocument::asStep(bool clears, const std::function<void()>& command) {
    if (inStep_ || model_.scaleIncr() == 0) {
        command();
        return;
    }
    inStep_ = true;
    const WindowState before = controls_.windowState();
    const RetainedCanvas::Mark mark = drawing_.drawingMark();
    std::vector<PlotRecord> replaced;
    if (clears)
        replaced = model_.curves();
    command();
    const WindowState after = controls_.windowState();
    if (clears)
        history_.pushReplace(before, std::move(replaced), after, model_.curves());
    else if (!model_.curves().empty())
        history_.pushPlot(before, mark, after, model_.curves().back());
    controls_.startFieldsAfresh();
    inStep_ = false;
}

Exercise CurveDocument::exercise() const {
    const WindowState state = controls_.windowState();
    Exercise exercise;
    exercise.controls = state.controls;
    exercise.Incr = state.Incr;
    exercise.drawingSize = drawing_.size();
    exercise.Miocolor = state.Miocolor;
    exercise.curves = model_.curves();
    exercise.assignment = file_.assignment;
    return exercise;
}

bool CurveDocument::open(const Exercise& exercise, const QString& path,
                         DrawingProgress* progress) {
    const bool setUp = model_.scaleIncr() != 0;
    const WindowState before = controls_.windowState();
    const WindowState after{exercise.controls, exercise.Miocolor, exercise.Incr, exercise.Incr};
    std::vector<PlotRecord> replaced = model_.takeCurves();
    // The drawing on the screen is kept aside until the new one is whole.
    RetainedCanvas shown =
        drawing_.exchangeDrawing(RetainedCanvas(drawing_.retainedDrawing().background()));
    if (!redrawWith(exercise.curves, exercise.Incr, progress)) {
        drawing_.exchangeDrawing(std::move(shown));
        model_.takeCurves();
        model_.putCurves(std::move(replaced));
        controls_.restoreWindowState(before);
        return false;
    }
    // The file first: the controls show what it locks.
    const DocumentFile fileBefore = std::exchange(
        file_, {path, 0, exercise.assignment, exercise.assignment && exercise.curves.empty()});
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
}

bool CurveDocument::hasUnsavedChanges() const {
    return !file_.path.isEmpty() && history_.state() != file_.savedState;
}

void CurveDocument::restoreWindowState(const WindowState& state) {
    controls_.restoreWindowState(state);
}

RetainedCanvas::Mark CurveDocument::drawingMark() {
    return drawing_.drawingMark();
}

void CurveDocument::takeBackLastCurve(RetainedCanvas::Mark before, double incr) {
    model_.dropLastCurve();
    if (!drawing_.rewindDrawing(before))
        redrawWith(model_.curves(), incr, nullptr);
}

void CurveDocument::drawAgain(const PlotRecord& curve) {
    model_.replay(curve);
}

bool CurveDocument::redrawWith(const std::vector<PlotRecord>& curves, double incr,
                               DrawingProgress* progress) {
    // Copied first: the list may be the model's own.
    const std::vector<PlotRecord> toDraw = curves;
    double total = 0;
    for (const PlotRecord& curve : toDraw)
        total += walkOf(curve);
    drawing_.Cls();
    model_.takeCurves();
    // A drawing starts with the axes, as the activation after a clearing draws them.
    model_.setUpScale(toDraw.empty() ? incr : toDraw.front().Incr);
    model_.drawAxes();
    double done = 0;
    for (const PlotRecord& curve : toDraw) {
        if (progress && !progress->proceed(done, total))
            return false;
        model_.replay(curve);
        done += walkOf(curve);
    }
    return true;
}
