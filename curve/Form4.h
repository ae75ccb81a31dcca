// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "CurveDocument.h"
#include "CurveModel.h"
#include "Form4Layout.h"
#include "MessageBoxPrompter.h"
#include "ScrollBar.h"
#include "SurfaceWidget.h"
#include "WindowSeams.h"

#include <functional>
#include <memory>
#include <optional>

class AssignmentDialogAsker;
class BarPlayer;
class Clipboard;
class EventRouter;
class ExerciseDrop;
class ExerciseCommands;
class FileDialogAsker;
class Form4Menu;
class MessageBoxApplyQuestion;
class MessageBoxSaveQuestion;
class QMenu;
class QScrollBar;
class StudentNameDialogAsker;
class WorkGate;

// The curve window: the parameter panels and commands over a retained drawing on which the
// curves are plotted. It neither shows nor activates itself; whoever opens it calls
// Form_Activate when it becomes the program's active window.
//
// Its work is a document (see CurveDocument), which it shows.
class Form4 : public SurfaceWidget,
              public Form4Controls,
              private CurveFields,
              private DocumentControls {
public:
    // Messages go to prompter, or to message boxes over this window when none is given.
    explicit Form4(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~Form4() override;

    // Sets up the scale from Incr, draws the axes and plots one curve. Right after an exercise
    // was opened into a window never shown, it leaves the exercise's drawing as it is.
    void Form_Activate();
    CurveModel& model() { return model_; }

    // The calibration ratio; must be set before the first activation. An opened exercise's own
    // ratio takes its place until calibrationChanged() is called.
    std::function<double()> readIncr;
    void calibrationChanged() { fileIncr_.reset(); }
    // The ratio an activation sets the scale up with: the opened exercise's, else readIncr's.
    double activationIncr() const { return fileIncr_ ? *fileIncr_ : readIncr(); }
    // The ratio the next move of a bar plots with: in multiple-curve mode it adds a curve to the
    // scale as it stands; in single-curve mode it clears the drawing and sets the scale up again.
    double nextMoveIncr() const;
    // "ESCI" and "?".
    std::function<void()> endProgram;
    std::function<void()> showInstructions;

    // Where the window and its commands meet the user and the desktop: message boxes and dialogs
    // over the window and the system's clipboard, unless others are put in their place. The
    // messages are the prompter the window was made with.
    const WindowSeams& seams() const { return seams_; }
    void replaceSeams(const WindowSeams& replacement);
    Prompter& prompter() const { return *seams_.messages; }

    // The drawing's context menu (see Form4Menu), opened by a right click on the drawing, the
    // Menu key or Shift+F10.
    void fillContextMenu(QMenu& menu);
    // The tooltip at a point of the window: the curve coordinates under it, with the distance
    // line over the target marker; empty over a control or before the first plot.
    QString toolTipAt(QPoint position) const;

    // The window's work as an exercise, and an exercise put in its place as one step (see
    // CurveDocument::open).
    CurveDocument& document() { return document_; }
    Exercise exercise() const { return document_.exercise(); }
    bool openExercise(const Exercise& exercise, DrawingProgress* progress = nullptr) {
        return document_.open(exercise, {}, progress);
    }
    QUndoStack& history() { return document_.history(); }
    ExerciseCommands& exerciseCommands() { return *exerciseCommands_; }
    // What everything that replaces, closes or changes the work from outside the drawing passes.
    WorkGate& workGate() { return *gate_; }
    // The bars that play by themselves.
    BarPlayer& barPlayer() { return *player_; }

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void Check1_Click();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing passes the gate: unsaved changes to an exercise file are not dropped without a
    // question. The class summary beside the window closes with it.
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString fieldText(Field field) const override;
    void setFieldText(Field field, const QString& text) override;
    QLineEdit* box(Field field) const;

    WindowState windowState() const override;
    void restoreWindowState(const WindowState& state) override;
    void startFieldsAfresh() override;

    // Runs a plotting command as a step (see CurveDocument::asStep), unless an assignment's
    // most curves are drawn and it would add one: then it says why and returns false. A curve
    // that reaches the target within the assignment's tolerance is told, the first time.
    using StepKind = CurveDocument::StepKind;
    bool plotStep(StepKind kind, const std::function<void()>& command);
    // The fields an assignment locks are read-only, and say why.
    void showLocks();
    void displacementChanged(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable);
    void resetDisplacement(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable);

    // The real seams, and the ones in use.
    std::unique_ptr<Clipboard> ownClipboard_;
    std::unique_ptr<FileDialogAsker> ownFileAsker_;
    std::unique_ptr<MessageBoxSaveQuestion> ownSaveQuestion_;
    std::unique_ptr<AssignmentDialogAsker> ownAssignmentAsker_;
    std::unique_ptr<MessageBoxApplyQuestion> ownApplyQuestion_;
    std::unique_ptr<StudentNameDialogAsker> ownStudentNameAsker_;
    WindowPrompter prompter_;
    // Every message of the window; a bar held down lets go first.
    std::unique_ptr<BarReleasingPrompter> messages_;
    WindowSeams seams_;
    CurveModel model_;
    std::optional<double> fileIncr_;
    CurveDocument document_;
    bool shownBefore_ = false;
    BarPlayer* player_;
    std::unique_ptr<WorkGate> gate_;
    std::unique_ptr<ExerciseCommands> exerciseCommands_;
    std::unique_ptr<Form4Menu> menu_;
    std::unique_ptr<ExerciseDrop> drop_;
    // Last, so that it goes before the handlers it calls.
    std::unique_ptr<EventRouter> router_;
};
