// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Navigation.h"

void Navigation::Command1_Click() {
    if (VAIF == 0) {
        VAIF = 99;
        windows_.show(FormId::Form2);
    } else {
        windows_.show(FormId::Form4);
    }
}
