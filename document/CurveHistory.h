// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Exercise.h"
#include "RetainedCanvas.h"

#include <QUndoStack>
#include <cstdint>
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

// Which file the work on the screen belongs to: the file "Salva esercizio" writes (empty for
// none), the state of the history in which it was last opened or saved, and what the teacher
// set when the file is an assignment; whether the file is the assignment as handed out, which an
// attempt is never saved over without a question, whether the student was told that the
// target was reached, and the student's name an attempt keeps, as it is and as it was last
// opened or saved. An opening changes it, together with the drawing.
struct DocumentFile {
    QString path;
    std::uint64_t savedState = 0;
    std::optional<Assignment> assignment;
    bool handout = false;
    bool targetReachedTold = false;
    QString student;
    QString savedStudent;
};

// What the steps act on: the curve window's drawing and controls, and its file. Nothing here
// reads a field, shows a message or plots a curve that was not plotted before.
class CurveSteps {
public:
    virtual ~CurveSteps() = default;
    // Puts the controls, the colour counter and the set-up back; never plots.
    virtual void restoreWindowState(const WindowState& state) = 0;
    virtual RetainedCanvas::Mark drawingMark() = 0;
    // Takes the latest curve off the drawing: back to the mark taken before it was drawn, or, when
    // the mark is no longer good for it, by drawing the others again as the window stood then.
    virtual void takeBackLastCurve(RetainedCanvas::Mark before, const WindowState& state) = 0;
    // Draws a recorded curve again as the latest one.
    virtual void drawAgain(const PlotRecord& curve) = 0;
    // Clears the drawing and draws these curves again, from the set-up of the window's state.
    virtual void redrawWith(const std::vector<PlotRecord>& curves, const WindowState& state) = 0;
    // The file the work belongs to, read and put back.
    virtual DocumentFile& currentFile() = 0;
};

// The steps of the curve window that can be taken back and done again: every plot, every
// clearing and every opened file. The most recent Limit steps are kept; a step holds its two
// window states and its curve, or, for a clearing or an opening, the curves it replaced and the
// ones it put; an opening also the file before and after it.
//
// Every state of the history has a number of its own: two states with the same number show the
// same work, so a file is unchanged since it was saved while the history stands at the number it
// was saved at.
class CurveHistory {
public:
    static constexpr int Limit = 100;

    explicit CurveHistory(CurveSteps& steps);

    // A curve added over the drawing; before is the drawing's mark before it.
    void pushPlot(const WindowState& before, RetainedCanvas::Mark mark, const WindowState& after,
                  const PlotRecord& curve);
    // The drawing replaced: cleared and drawn afresh; with a file, opened from it, the file
    // before the opening being given.
    void pushReplace(const WindowState& before, std::vector<PlotRecord> replaced,
                     const WindowState& after, std::vector<PlotRecord> put);
    void pushOpening(const WindowState& before, std::vector<PlotRecord> replaced,
                     const WindowState& after, std::vector<PlotRecord> put,
                     const DocumentFile& fileBefore);

    // The number of the state the history stands at.
    std::uint64_t state() const { return state_; }
    QUndoStack& stack() { return stack_; }

private:
    friend class Step;
    CurveSteps& steps_;
    QUndoStack stack_;
    std::uint64_t state_ = 0;
    std::uint64_t lastState_ = 0;
};
