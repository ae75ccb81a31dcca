// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// What assistive technology says for a control: its name and, where the caption does not say
// it, what the control is for. An empty name leaves the caption as the name.
inline void setAccessibleTexts(QWidget* control, const char* name, const char* description = "") {
    if (*name != '\0')
        control->setAccessibleName(QString::fromUtf8(name));
    if (*description != '\0')
        control->setAccessibleDescription(QString::fromUtf8(description));
}
