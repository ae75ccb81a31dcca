// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form4.h"

#include "Accessibility.h"
#include "AssignmentDialog.h"
#include "AssignmentRules.h"
#include "BarPlayer.h"
#include "Clipboard.h"
#include "EventRouter.h"
#include "ExerciseCommands.h"
#include "ExerciseDrop.h"
#include "FileDialogAsker.h"
#include "Form4Menu.h"
#include "MessageBoxApplyQuestion.h"
#include "MessageBoxSaveQuestion.h"
#include "NumberText.h"
#include "PlotText.h"
#include "StudentNameDialog.h"
#include "WorkGate.h"

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
      ownClipboard_(std::make_unique<SystemClipboard>()),
      ownFileAsker_(std::make_unique<FileDialogAsker>(this)),
      ownSaveQuestion_(std::make_unique<MessageBoxSaveQuestion>(this)),
      ownAssignmentAsker_(std::make_unique<AssignmentDialogAsker>(this)),
      ownApplyQuestion_(std::make_unique<MessageBoxApplyQuestion>(this)),
      ownStudentNameAsker_(std::make_unique<StudentNameDialogAsker>(this)), prompter_(prompter, this),
      messages_(std::make_unique<BarReleasingPrompter>(prompter_.get(),
                                                       std::initializer_list{HScroll1, HScroll2})),
      seams_{messages_.get(),
             ownClipboard_.get(),
             ownFileAsker_.get(),
             ownFileAsker_.get(),
             ownFileAsker_.get(),
             ownSaveQuestion_.get(),
             ownApplyQuestion_.get(),
             ownAssignmentAsker_.get(),
             ownStudentNameAsker_.get()},
      model_(*this, *this, *messages_, [this] { return activationIncr(); }),
      document_(*this, model_, *this),
      player_(new BarPlayer(*this, {HScroll1, HScroll2}, document_)),
      gate_(std::make_unique<WorkGate>(*player_, document_, seams_,
                                       [this] { return exerciseCommands_->save(); })),
      exerciseCommands_(std::make_unique<ExerciseCommands>(*this, document_, seams_, *gate_)) {
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
    drop_ = std::make_unique<ExerciseDrop>(*this, *exerciseCommands_);
    // The events of the window and its controls meet these in this order. A playing bar stops
    // first, before a dropped file opens or a key reaches a shortcut, so that nothing lands in
    // its step; a dropped exercise comes before a field can take its path for text; the menu's
    // keys come last.
    router_ = std::make_unique<EventRouter>(
        *this, std::vector<EventHandler*>{player_, drop_.get(), menu_.get()});
}

Form4::~Form4() = default;

void Form4::replaceSeams(const WindowSeams& replacement) {
    seams_ = seams_.replacedBy(replacement);
    seams_.messages = messages_.get();
}

double Form4::nextMoveIncr() const {
    return Check1->isChecked() ? model_.scaleIncr() : activationIncr();
}

void Form4::Form_Activate() {
    if (document_.takeOpenedDrawing())
        return;
    plotStep(StepKind::AddsCurve, [this] { model_.Form_Activate(); });
}

void Form4::Command1_Click() {
    plotStep(StepKind::AddsCurve, [this] { model_.CALCOLA(); });
}

void Form4::Command2_Click() {
    plotStep(StepKind::ReplacesDrawing, [this] { model_.clearAndRedraw(); });
}

void Form4::Command3_Click() {
    if (endProgram && gate_->pass(WorkGate::Change::Drops))
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
    const bool plotted = plotStep(multiple ? StepKind::AddsCurve : StepKind::ReplacesDrawing, [&] {
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

bool Form4::plotStep(StepKind kind, const std::function<void()>& command) {
    if (kind == StepKind::AddsCurve) {
        const QString why = whyNoMoreCurves(document_.assignment(), model_.curves().size());
        if (!why.isEmpty()) {
            prompter().MsgBox(why);
            return false;
        }
    }
    document_.asStep(kind, command);
    if (!document_.file().targetReachedTold) {
        const QString reached = targetReachedText(document_.assignment(), model_.lastPlot());
        if (!reached.isEmpty()) {
            document_.markTargetReachedTold();
            prompter().MsgBox(reached);
        }
    }
    return true;
}

// Moving the bar back to 0 runs its change handler first, when the position was not 0. A curve
// the assignment refused put the bar back: it stays there with its number.
void Form4::resetDisplacement(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable) {
    bar->setValue(0);
    if (bar->value() != 0)
        return;
    shown->setText(IntegerToText(0));
    variable = 0;
}

void Form4::fillContextMenu(QMenu& menu) {
    menu_->fill(menu);
}

// The menu's key comes through the router (see Form4Menu).
void Form4::contextMenuEvent(QContextMenuEvent* event) {
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
    if (!gate_->pass(WorkGate::Change::Drops)) {
        event->ignore();
        return;
    }
    menu_->closeClassSummary();
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
