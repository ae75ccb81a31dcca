// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CurveHistory.h"

// A step is pushed once it has happened: its first redo does nothing but move the history to
// the state after it.
class Step : public QUndoCommand {
public:
    explicit Step(CurveHistory& history)
        : history_(history), before_(history.state_), after_(++history.lastState_) {}

    void redo() final {
        if (done_)
            redoAgain();
        done_ = true;
        history_.state_ = after_;
    }
    void undo() final {
        undoStep();
        history_.state_ = before_;
    }

protected:
    virtual void redoAgain() = 0;
    virtual void undoStep() = 0;
    CurveSteps& steps() { return history_.steps_; }

private:
    CurveHistory& history_;
    std::uint64_t before_, after_;
    bool done_ = false;
};

namespace {

class PlotStep final : public Step {
public:
    PlotStep(CurveHistory& history, const WindowState& before, RetainedCanvas::Mark mark,
             const WindowState& after, const PlotRecord& curve)
        : Step(history), before_(before), after_(after), mark_(mark), curve_(curve) {}

protected:
    void undoStep() override {
        steps().takeBackLastCurve(mark_, before_);
        steps().restoreWindowState(before_);
    }
    void redoAgain() override {
        mark_ = steps().drawingMark();
        steps().drawAgain(curve_);
        steps().restoreWindowState(after_);
    }

private:
    WindowState before_, after_;
    RetainedCanvas::Mark mark_;
    PlotRecord curve_;
};

class ReplaceStep : public Step {
public:
    ReplaceStep(CurveHistory& history, const WindowState& before, std::vector<PlotRecord> replaced,
                const WindowState& after, std::vector<PlotRecord> put)
        : Step(history), before_(before), after_(after), replaced_(std::move(replaced)),
          put_(std::move(put)) {}

protected:
    void undoStep() override {
        steps().redrawWith(replaced_, before_);
        steps().restoreWindowState(before_);
    }
    void redoAgain() override {
        steps().redrawWith(put_, after_);
        steps().restoreWindowState(after_);
    }

private:
    WindowState before_, after_;
    std::vector<PlotRecord> replaced_, put_;
};

// The file moves with the drawing. What it is on either side is taken as the step is left,
// since a save in between changes it.
class OpeningStep final : public ReplaceStep {
public:
    OpeningStep(CurveHistory& history, const WindowState& before, std::vector<PlotRecord> replaced,
                const WindowState& after, std::vector<PlotRecord> put, DocumentFile fileBefore)
        : ReplaceStep(history, before, std::move(replaced), after, std::move(put)),
          fileBefore_(std::move(fileBefore)) {}

protected:
    void undoStep() override {
        fileAfter_ = std::exchange(steps().currentFile(), fileBefore_);
        ReplaceStep::undoStep();
    }
    void redoAgain() override {
        fileBefore_ = std::exchange(steps().currentFile(), fileAfter_);
        ReplaceStep::redoAgain();
    }

private:
    DocumentFile fileBefore_, fileAfter_;
};

} // namespace

CurveHistory::CurveHistory(CurveSteps& steps) : steps_(steps) {
    stack_.setUndoLimit(Limit);
}

void CurveHistory::pushPlot(const WindowState& before, RetainedCanvas::Mark mark,
                            const WindowState& after, const PlotRecord& curve) {
    stack_.push(new PlotStep(*this, before, mark, after, curve));
}

void CurveHistory::pushReplace(const WindowState& before, std::vector<PlotRecord> replaced,
                               const WindowState& after, std::vector<PlotRecord> put) {
    stack_.push(new ReplaceStep(*this, before, std::move(replaced), after, std::move(put)));
}

void CurveHistory::pushOpening(const WindowState& before, std::vector<PlotRecord> replaced,
                               const WindowState& after, std::vector<PlotRecord> put,
                               const DocumentFile& fileBefore) {
    stack_.push(new OpeningStep(*this, before, std::move(replaced), after, std::move(put),
                                fileBefore));
}
