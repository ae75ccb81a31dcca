#pragma once

#include "CurveDocument.h"
#include "CurveModel.h"
#include "Form4Layout.h"
#include "MessageBoxPrompter.h"
#include "ScrollBar.h"
#include "SurfaceWidget.h"

#include <functional>
#include <memory>
#include <optional>

class ApplyQuestion;
class AssignmentAsker;
class BarAnimator;
class Clipboard;
class EventRouter;
class ExerciseDrop;
class ExerciseFiles;
class FileDialogAsker;
class Form4Menu;
class OpenFileAsker;
class QMenu;
class QScrollBar;
class SaveFileAsker;
class SaveQuestion;
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
    // "ESCI" and "?".
    std::function<void()> endProgram;
    std::function<void()> showInstructions;

    // Copies go to the desktop's clipboard unless another one is given; files are asked for with
    // the file dialog unless another asker is given.
    void setClipboard(Clipboard& clipboard) { clipboard_ = &clipboard; }
    void setSaveFileAsker(SaveFileAsker& asker) { saveFileAsker_ = &asker; }
    void setOpenFileAsker(OpenFileAsker& asker) { openFileAsker_ = &asker; }
    void setSaveQuestion(SaveQuestion& question) { saveQuestion_ = &question; }
    void setAssignmentAsker(AssignmentAsker& asker) { assignmentAsker_ = &asker; }
    void setApplyQuestion(ApplyQuestion& question) { applyQuestion_ = &question; }
    Clipboard& clipboard() const { return *clipboard_; }
    SaveFileAsker& saveFileAsker() const { return *saveFileAsker_; }
    OpenFileAsker& openFileAsker() const { return *openFileAsker_; }
    SaveQuestion& saveQuestion() const { return *saveQuestion_; }
    AssignmentAsker& assignmentAsker() const { return *assignmentAsker_; }
    ApplyQuestion& applyQuestion() const { return *applyQuestion_; }
    Prompter& prompter() const { return *messages_; }

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
    ExerciseFiles& exerciseFiles() { return *exerciseFiles_; }
    // What everything that replaces, closes or changes the work from outside the drawing passes.
    WorkGate& workGate() { return *gate_; }
    // The bars that play by themselves.
    BarAnimator& animator() { return *animator_; }

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
    // question.
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
    bool plotStep(bool clears, const std::function<void()>& command);
    // The fields an assignment locks are read-only, and say why.
    void showLocks();
    void displacementChanged(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable);
    void resetDisplacement(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable);

    std::unique_ptr<Clipboard> ownClipboard_;
    Clipboard* clipboard_;
    std::unique_ptr<FileDialogAsker> ownFileAsker_;
    SaveFileAsker* saveFileAsker_;
    OpenFileAsker* openFileAsker_;
    std::unique_ptr<SaveQuestion> ownSaveQuestion_;
    SaveQuestion* saveQuestion_;
    std::unique_ptr<AssignmentAsker> ownAssignmentAsker_;
    AssignmentAsker* assignmentAsker_;
    std::unique_ptr<ApplyQuestion> ownApplyQuestion_;
    ApplyQuestion* applyQuestion_;
    WindowPrompter prompter_;
    // Every message of the window; a bar held down lets go first.
    std::unique_ptr<BarReleasingPrompter> messages_;
    CurveModel model_;
    std::optional<double> fileIncr_;
    CurveDocument document_;
    bool shownBefore_ = false;
    std::unique_ptr<ExerciseFiles> exerciseFiles_;
    BarAnimator* animator_;
    std::unique_ptr<WorkGate> gate_;
    std::unique_ptr<Form4Menu> menu_;
    std::unique_ptr<ExerciseDrop> drop_;
    // Last, so that it goes before the handlers it calls.
    std::unique_ptr<EventRouter> router_;
};
