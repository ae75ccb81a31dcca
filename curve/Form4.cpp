#include "Form4.h"

#include "Accessibility.h"
#include "ApplyQuestion.h"
#include "AssignmentDialog.h"
#include "AssignmentRules.h"
#include "Clipboard.h"
#include "DisplacementFinder.h"
#include "ExerciseDrop.h"
#include "ExerciseFiles.h"
#include "FileDialogAsker.h"
#include "Form4Menu.h"
#include "NumberText.h"
#include "PlotText.h"
#include "Prompter.h"
#include "SaveQuestion.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <cmath>

Form4::Form4(Prompter* prompter, QWidget* parent)
    : SurfaceWidget(parent), Form4Controls(buildForm4Controls(this)),
      ownClipboard_(std::make_unique<SystemClipboard>()), clipboard_(ownClipboard_.get()),
      ownFileAsker_(std::make_unique<FileDialogAsker>(this)), saveFileAsker_(ownFileAsker_.get()),
      openFileAsker_(ownFileAsker_.get()),
      ownSaveQuestion_(std::make_unique<MessageBoxSaveQuestion>(this)),
      saveQuestion_(ownSaveQuestion_.get()),
      ownAssignmentAsker_(std::make_unique<AssignmentDialogAsker>(this)),
      assignmentAsker_(ownAssignmentAsker_.get()),
      ownApplyQuestion_(std::make_unique<MessageBoxApplyQuestion>(this)),
      applyQuestion_(ownApplyQuestion_.get()), prompter_(prompter, this),
      model_(*this, *this, prompter_.get(), [this] { return activationIncr(); }),
      document_(*this, model_, *this), exerciseFiles_(std::make_unique<ExerciseFiles>(*this)) {
    setWindowTitle(QStringLiteral("Form4"));
    resize(Form4DesignSize);
    setAccessibleTexts(this, "",
                       "finestra delle curve: dietro i comandi, il disegno con gli assi, il PUNTO "
                       "da raggiungere e le curve sulla corda");

    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form4::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form4::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form4::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form4::Command6_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form4::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &Form4::HScroll2_Change);
    connect(Check1, &QCheckBox::toggled, this, &Form4::Check1_Click);
    menu_ = std::make_unique<Form4Menu>(*this);
    new ExerciseDrop(*this);
}

Form4::~Form4() = default;

void Form4::Form_Activate() {
    if (document_.takeOpenedDrawing())
        return;
    plotStep(false, [this] { model_.Form_Activate(); });
}

void Form4::Command1_Click() {
    plotStep(false, [this] { model_.CALCOLA(); });
}

void Form4::Command2_Click() {
    plotStep(true, [this] { model_.clearAndRedraw(); });
}

void Form4::Command3_Click() {
    if (endProgram && exerciseFiles_->settleUnsavedChanges())
        endProgram();
}

void Form4::Command6_Click() {
    if (showInstructions)
        showInstructions();
}

void Form4::HScroll1_Change() {
    displacementChanged(HScroll1, Text6, model_.SPTX);
}

void Form4::HScroll2_Change() {
    displacementChanged(HScroll2, Text7, model_.SPTY);
}

void Form4::Command5_Click() {
    resetDisplacement(HScroll1, Text6, model_.SPTX);
}

void Form4::Command4_Click() {
    resetDisplacement(HScroll2, Text7, model_.SPTY);
}

void Form4::Check1_Click() {
    Check1->setText(Check1->isChecked() ? QStringLiteral("Curve Multiple")
                                        : QStringLiteral("Curve Singole"));
}

void Form4::displacementChanged(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable) {
    const bool multiple = Check1->isChecked();
    const bool plotted = plotStep(!multiple, [&] {
        const auto position = static_cast<std::int16_t>(bar->value());
        shown->setText(IntegerToText(position));
        variable = position;
        model_.plotByMode(multiple);
    });
    // A curve refused: the bar goes back to the curve it shows.
    if (!plotted) {
        const QSignalBlocker blocker(bar);
        bar->setValue(variable);
    }
}

bool Form4::plotStep(bool clears, const std::function<void()>& command) {
    if (!clears) {
        const QString why = whyNoMoreCurves(document_.assignment(), model_.curves().size());
        if (!why.isEmpty()) {
            prompter().MsgBox(why);
            return false;
        }
    }
    document_.asStep(clears, command);
    if (!document_.file().targetReachedTold) {
        const QString reached = targetReachedText(document_.assignment(), model_.lastPlot());
        if (!reached.isEmpty()) {
            document_.targetReachedTold();
            prompter().MsgBox(reached);
        }
    }
    return true;
}

// Moving the bar back to 0 runs its change handler first, when the position was not 0.
void Form4::resetDisplacement(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable) {
    bar->setValue(0);
    shown->setText(IntegerToText(0));
    variable = 0;
}

void Form4::fillContextMenu(QMenu& menu) {
    menu_->fill(menu);
}

void Form4::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) {
        menu_->openFromKeyboard();
        return;
    }
    // A control without a menu of its own passes the event on: it stays the control's.
    if (childAt(event->pos()) != nullptr) {
        event->ignore();
        return;
    }
    menu_->open(event->globalPos());
}

QString Form4::toolTipAt(QPoint position) const {
    const PlotRecord& plot = model_.lastPlot();
    if (plot.curve == 0 || !rect().contains(position) || childAt(position) != nullptr)
        return {};
    const QPointF point = QPointF(position) + QPointF(0.5, 0.5);
    const QPointF curve = model_.toCurve(userPosition(point));
    QString text = readoutText(curve.x(), curve.y());
    // The marker's circle has a radius of 5 horizontal units and is round on the screen.
    const QPointF marker = widgetPosition(model_.toSurface(plot.RAX, plot.RAY));
    const double radius = widgetPosition({5, 0}).x();
    const QPointF offset = point - marker;
    if (std::hypot(offset.x(), offset.y()) <= radius)
        text += u'\n' + distanceLine(plot);
    return text;
}

bool Form4::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return SurfaceWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = toolTipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        // Shown until the mouse leaves its pixel, so that resting elsewhere reads again.
        QToolTip::showText(help->globalPos(), text, this, QRect(help->pos(), QSize(1, 1)));
    }
    return true;
}

void Form4::closeEvent(QCloseEvent* event) {
    if (!exerciseFiles_->settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    SurfaceWidget::closeEvent(event);
}

void Form4::showEvent(QShowEvent* event) {
    SurfaceWidget::showEvent(event);
    // The window opens on the end point's x, not on the first field.
    if (!shownBefore_) {
        shownBefore_ = true;
        Text4->setFocus();
    }
}

QLineEdit* Form4::box(Field field) const {
    switch (field) {
    case Field::Text1:
        return Text1;
    case Field::Text2:
        return Text2;
    case Field::Text3:
        return Text3;
    case Field::Text4:
        return Text4;
    case Field::Text5:
        return Text5;
    case Field::Text8:
        return Text8;
    case Field::Text9:
        return Text9;
    case Field::Text10:
        return Text10;
    case Field::Text11:
        return Text11;
    }
    return nullptr;
}

QString Form4::fieldText(Field field) const {
    return box(field)->text();
}

void Form4::setFieldText(Field field, const QString& text) {
    box(field)->setText(text);
}

WindowState Form4::windowState() const {
    WindowState state;
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        state.controls.fields[i] = fieldText(static_cast<Field>(i));
    // The variables follow the bars; inside a bar's change handler they still hold the position
    // before the change.
    state.controls.HScroll1 = model_.SPTX;
    state.controls.HScroll2 = model_.SPTY;
    state.controls.Check1 = Check1->isChecked();
    state.Miocolor = model_.Miocolor;
    state.Incr = model_.scaleIncr();
    state.fileIncr = fileIncr_;
    return state;
}

void Form4::restoreWindowState(const WindowState& state) {
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        setFieldText(static_cast<Field>(i), state.controls.fields[i]);
    // Setting a bar or the check box runs no handler: restoring never plots.
    {
        const QSignalBlocker horizontal(HScroll1), vertical(HScroll2), mode(Check1);
        HScroll1->setValue(state.controls.HScroll1);
        HScroll2->setValue(state.controls.HScroll2);
        Check1->setChecked(state.controls.Check1);
    }
    Text6->setText(IntegerToText(state.controls.HScroll1));
    Text7->setText(IntegerToText(state.controls.HScroll2));
    Check1_Click();
    model_.SPTX = state.controls.HScroll1;
    model_.SPTY = state.controls.HScroll2;
    model_.Miocolor = state.Miocolor;
    if (state.Incr != model_.scaleIncr())
        model_.setUpScale(state.Incr);
    fileIncr_ = state.fileIncr;
    showLocks();
    startFieldsAfresh();
}

void Form4::showLocks() {
    const std::optional<Assignment>& assignment = document_.assignment();
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const bool locked = assignment && assignment->locks(field);
        box(field)->setReadOnly(locked);
        box(field)->setToolTip(locked ? lockedFieldTip() : QString());
    }
    menu_->setSearchAllowed(displacementSearchAllowed(assignment));
}

void Form4::startFieldsAfresh() {
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        QLineEdit* field = box(static_cast<Field>(i));
        if (!field->isUndoAvailable() && !field->isRedoAvailable())
            continue;
        // Setting the text anew empties the field's own undo; the cursor stays where it was.
        const int cursor = field->cursorPosition();
        field->setText(field->text());
        field->setCursorPosition(cursor);
    }
}
