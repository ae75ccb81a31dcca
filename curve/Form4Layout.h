// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Twips.h"

#include <QSize>

class HScrollBar;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of the curve window, named as the window names them; each control carries its
// name as its object name too.
struct Form4Controls {
    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label4;
    QLineEdit* Text4;
    QLabel* Label5;
    QLineEdit* Text5;

    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command6;

    QGroupBox* Frame4;
    QLabel* Label7;
    HScrollBar* HScroll2;
    QLineEdit* Text7;
    QPushButton* Command4;

    QGroupBox* Frame3;
    QLabel* Label6;
    HScrollBar* HScroll1;
    QLineEdit* Text6;
    QPushButton* Command5;

    QGroupBox* Frame2;
    QLabel* Label3;
    QLineEdit* Text3;
    QLabel* Label8;
    QLineEdit* Text8;

    QGroupBox* Frame5;
    QLabel* Label10;
    QLineEdit* Text10;
    QLabel* Label11;
    QLineEdit* Text11;

    QLabel* Label9;
    QLineEdit* Text9;
    QCheckBox* Check1;
};

// The size the curve window was designed at, before it is maximized.
inline constexpr QSize Form4DesignSize(twipsToPixels(10605), twipsToPixels(6780));

// Builds the curve window's controls on parent, each at its designed place with its initial
// content, fonts and tab order, and gives parent the window's default font. It wires nothing,
// so any widget can host the controls (the instructions page photographs them this way).
Form4Controls buildForm4Controls(QWidget* parent);
