// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AssignmentDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

AssignmentDialog::AssignmentDialog(const Assignment& shown, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Consegna"));
    text = new QPlainTextEdit(shown.text);
    text->setPlaceholderText(QStringLiteral("Che cosa devono fare gli studenti"));
    text->setTabChangesFocus(true);

    tolerance = new QDoubleSpinBox;
    tolerance->setDecimals(2);
    tolerance->setRange(0.01, Assignment::MaxTolerance);
    tolerance->setValue(shown.tolerance);

    auto* lockBox = new QGroupBox(QStringLiteral("Valori che gli studenti non possono cambiare"));
    auto* lockRow = new QHBoxLayout(lockBox);
    const std::array names = {QStringLiteral("Corda"), QStringLiteral("Bersaglio"),
                              QStringLiteral("Densità"), QStringLiteral("Incrementi")};
    for (std::size_t i = 0; i < locks.size(); ++i) {
        locks[i] = new QCheckBox(names[i]);
        locks[i]->setChecked(shown.locked.count(LockedGroup(i)) > 0);
        lockRow->addWidget(locks[i]);
    }

    maxCurves = new QSpinBox;
    maxCurves->setRange(0, 10000);
    maxCurves->setSpecialValueText(QStringLiteral("nessun limite"));
    maxCurves->setValue(shown.maxCurves);
    solutionAllowed = new QCheckBox(QStringLiteral("Permetti \"Trova spostamenti…\""));
    solutionAllowed->setChecked(shown.solutionAllowed);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Testo per gli studenti:"), text);
    form->addRow(QStringLiteral("Bersaglio raggiunto entro"), tolerance);
    form->addRow(lockBox);
    form->addRow(QStringLiteral("Curve al massimo:"), maxCurves);
    form->addRow(solutionAllowed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

Assignment AssignmentDialog::assignment() const {
    Assignment assignment;
    assignment.text = text->toPlainText();
    assignment.tolerance = tolerance->value();
    assignment.locked.clear();
    for (std::size_t i = 0; i < locks.size(); ++i)
        if (locks[i]->isChecked())
            assignment.locked.insert(LockedGroup(i));
    assignment.maxCurves = maxCurves->value();
    assignment.solutionAllowed = solutionAllowed->isChecked();
    return assignment;
}

std::optional<Assignment> AssignmentDialogAsker::askAssignment(const Assignment& shown) {
    AssignmentDialog dialog(shown, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.assignment();
}
