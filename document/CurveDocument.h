// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "CurveHistory.h"
#include "CurveModel.h"
#include "Exercise.h"

#include <functional>

class KeptDrawing;

// Told how far a long drawing has got; answers whether to go on.
class DrawingProgress {
public:
    virtual ~DrawingProgress() = default;
    virtual bool proceed(double done, double total) = 0;
};

// The controls of the curve window, as its document captures and puts them back.
class DocumentControls {
public:
    virtual ~DocumentControls() = default;
    virtual WindowState windowState() const = 0;
    // Never plots: the bars and the check box are set without running their handlers.
    virtual void restoreWindowState(const WindowState& state) = 0;
    // After a step: a field's own undo starts again from its text as it stands.
    virtual void startFieldsAfresh() = 0;
};

// The curve window's work as a document: what the controls show and the curves drawn since the
// drawing was last cleared, which drawn again give the drawing; the history of its steps; and the
// file it belongs to. Every command that changes the drawing is a step that can be taken back
// and done again; taking it back restores the drawing, the controls, the colour of the next
// curve, the ratio of the scale and, for an opening, the file, and plots nothing.
class CurveDocument final : private CurveSteps {
public:
    CurveDocument(DocumentControls& controls, CurveModel& model, KeptDrawing& drawing);

    // What a step does to the drawing: adds a curve over it, or clears it first and draws it
    // afresh (a bar move in single-curve mode, "CANCELLA ed esegui", a bar that plays, a search
    // applied), so that taking it back puts back every curve it replaced.
    enum class StepKind { AddsCurve, ReplacesDrawing };

    // Runs a command that changes the drawing as one step. A step inside a step belongs to it;
    // before the window's first drawing there is nothing to go back to, so no step is kept.
    void asStep(StepKind kind, const std::function<void()>& command);
    // The same for what lasts beyond one call (a bar that plays by itself): everything done
    // from beginStep to endStep is one step. False, and no step begun, inside another step or
    // before the first drawing.
    bool beginStep(StepKind kind);
    void endStep();

    // The work as an exercise, and an exercise of the file at path put in its place as one step:
    // the controls show its values and its curves are drawn again in order. A long drawing
    // reports to progress, which may stop it: then everything stays as it was and false is
    // returned. Before the window's first drawing no step is kept, and the first activation
    // must leave the opened drawing as it is (see takeOpenedDrawing).
    Exercise exercise() const;
    bool open(const Exercise& exercise, const QString& path, DrawingProgress* progress = nullptr);
    // Whether an exercise was opened before the first drawing; asking forgets it.
    bool takeOpenedDrawing() { return std::exchange(openedBeforeFirstDrawing_, false); }

    // The file "Salva esercizio" writes, empty before any was opened or saved, and what it holds
    // besides the work (see DocumentFile).
    const QString& path() const { return file_.path; }
    const DocumentFile& file() const { return file_; }
    const std::optional<Assignment>& assignment() const { return file_.assignment; }
    void markTargetReachedTold() { file_.targetReachedTold = true; }
    // Who does the attempt at an assignment; a change is unsaved work, not a step.
    const QString& student() const { return file_.student; }
    void setStudent(const QString& name) { file_.student = name; }
    // The work was just written to path.
    void saved(const QString& path);
    // The work differs from the file it was last opened from or saved to (its drawing, its
    // controls or the student's name), or a step is still open; never without a file.
    bool hasUnsavedChanges() const;

    QUndoStack& history() { return history_.stack(); }
    // Every curve plotted while the returned guard lives is marked as placed by the search.
    [[nodiscard]] auto placingBySearch() { return model_.placingBySearch(); }
    // The drawing the document's curves are drawn on.
    KeptDrawing& drawing() { return drawing_; }

private:
    void restoreWindowState(const WindowState& state) override;
    RetainedCanvas::Mark drawingMark() override;
    void takeBackLastCurve(RetainedCanvas::Mark before, const WindowState& state) override;
    void drawAgain(const PlotRecord& curve) override;
    void redrawWith(const std::vector<PlotRecord>& curves, const WindowState& state) override {
        redrawWith(curves, state, nullptr);
    }
    // An assignment without curves shows its target, as it is handed out.
    bool redrawWith(const std::vector<PlotRecord>& curves, const WindowState& state,
                    DrawingProgress* progress);
    DocumentFile& currentFile() override { return file_; }

    DocumentControls& controls_;
    CurveModel& model_;
    KeptDrawing& drawing_;
    CurveHistory history_;
    DocumentFile file_;
    // The step under way: whether it clears, and what it replaces.
    struct OpenStep {
        bool clears;
        WindowState before;
        RetainedCanvas::Mark mark;
        std::vector<PlotRecord> replaced;
    };
    std::optional<OpenStep> step_;
    bool openedBeforeFirstDrawing_ = false;
};
