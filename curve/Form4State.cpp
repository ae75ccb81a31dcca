// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// What the curve window's controls show, as its document captures and puts it back: the fields,
// the bars, the check box and the variables that follow them, and what an assignment locks or
// forbids.
#include "Form4.h"

#include "AssignmentRules.h"
#include "DisplacementOffer.h"
#include "Form4Menu.h"
#include "NumberText.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

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
