#pragma once

#include "Exercise.h"
#include "RetainedCanvas.h"

#include <QUndoStack>
#include <optional>
#include <vector>

// What a step of the curve window puts back besides the drawing: what the controls show, the
// colour counter, the ratio the drawing is set up with and the ratio an opened file brought for
// later activations.
struct WindowState {
    ExerciseControls controls;
    std::int16_t Miocolor = 0;
    double Incr = 0;
    std::optional<double> fileIncr;
};

// What the steps act on: the curve window. Nothing here reads a field, shows a message or plots
// a curve that was not plotted before.
class CurveSteps {
public:
    virtual ~CurveSteps() = default;
    // Puts the controls, the colour counter and the set-up back; never plots.
    virtual void restoreWindowState(const WindowState& state) = 0;
    virtual RetainedCanvas::Mark drawingMark() = 0;
    // Takes the latest curve off the drawing: back to the mark taken before it was drawn, or, when
    // the drawing was folded since, by drawing the others again from the set-up at incr.
    virtual void takeBackLastCurve(RetainedCanvas::Mark before, double incr) = 0;
    // Draws a recorded curve again as the latest one.
    virtual void drawAgain(const PlotRecord& curve) = 0;
    // Clears the drawing and draws these curves again, from the set-up at incr.
    virtual void redrawWith(const std::vector<PlotRecord>& curves, double incr) = 0;
};

// The steps of the curve window that can be taken back and done again: every plot, every
// clearing and every opened file. The most recent Limit steps are kept; a step holds its two
// window states and its curve, or, for a clearing or an opening, the curves it replaced and the
// ones it put.
class CurveHistory {
public:
    static constexpr int Limit = 100;

    explicit CurveHistory(CurveSteps& steps);

    // A curve added over the drawing; before is the drawing's mark before it.
    void pushPlot(const WindowState& before, RetainedCanvas::Mark mark, const WindowState& after,
                  const PlotRecord& curve);
    // The drawing replaced: cleared and drawn afresh, or opened from a file.
    void pushReplace(const WindowState& before, std::vector<PlotRecord> replaced,
                     const WindowState& after, std::vector<PlotRecord> put);

    QUndoStack& stack() { return stack_; }

private:
    CurveSteps& steps_;
    QUndoStack stack_;
};
