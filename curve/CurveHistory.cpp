#include "CurveHistory.h"

namespace {

// A step is pushed once it has happened: its first redo does nothing.
class Step : public QUndoCommand {
public:
    void redo() final {
        if (done_)
            redoAgain();
        done_ = true;
    }

protected:
    virtual void redoAgain() = 0;

private:
    bool done_ = false;
};

class PlotStep final : public Step {
public:
    PlotStep(CurveSteps& steps, const WindowState& before, RetainedCanvas::Mark mark,
             const WindowState& after, const PlotRecord& curve)
        : steps_(steps), before_(before), after_(after), mark_(mark), curve_(curve) {}

    void undo() override {
        steps_.takeBackLastCurve(mark_, before_.Incr);
        steps_.restoreWindowState(before_);
    }

protected:
    void redoAgain() override {
        mark_ = steps_.drawingMark();
        steps_.drawAgain(curve_);
        steps_.restoreWindowState(after_);
    }

private:
    CurveSteps& steps_;
    WindowState before_, after_;
    RetainedCanvas::Mark mark_;
    PlotRecord curve_;
};

class ReplaceStep final : public Step {
public:
    ReplaceStep(CurveSteps& steps, const WindowState& before, std::vector<PlotRecord> replaced,
                const WindowState& after, std::vector<PlotRecord> put)
        : steps_(steps), before_(before), after_(after), replaced_(std::move(replaced)),
          put_(std::move(put)) {}

    void undo() override {
        steps_.redrawWith(replaced_, before_.Incr);
        steps_.restoreWindowState(before_);
    }

protected:
    void redoAgain() override {
        steps_.redrawWith(put_, after_.Incr);
        steps_.restoreWindowState(after_);
    }

private:
    CurveSteps& steps_;
    WindowState before_, after_;
    std::vector<PlotRecord> replaced_, put_;
};

} // namespace

CurveHistory::CurveHistory(CurveSteps& steps) : steps_(steps) {
    stack_.setUndoLimit(Limit);
}

void CurveHistory::pushPlot(const WindowState& before, RetainedCanvas::Mark mark,
                            const WindowState& after, const PlotRecord& curve) {
    stack_.push(new PlotStep(steps_, before, mark, after, curve));
}

void CurveHistory::pushReplace(const WindowState& before, std::vector<PlotRecord> replaced,
                               const WindowState& after, std::vector<PlotRecord> put) {
    stack_.push(new ReplaceStep(steps_, before, std::move(replaced), after, std::move(put)));
}
