// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QCoreApplication;

// Installs Qt's own Italian words (the file dialog, a field's and a scroll bar's context menus,
// the standard buttons) for the rest of the run, whatever the user's language, so that every
// word the program shows is Italian. Call it before any window is built. False when the
// translation is not installed: Qt's words then stay English.
bool installQtItalian(QCoreApplication& application);
