// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

// The fonts the windows were designed with have no free copies; their stand-ins are chosen
// here, once.

// The windows' default font (a small sans serif), used by every control that names no font.
QFont windowDefaultFont();
// The sans serif of the bold captions and of the calibration title.
QFont sansSerifFont(qreal pointSize, bool bold = false);
// The monospaced font of the instructions page.
QFont courierNewFont(qreal pointSize);
