// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The folder a file dialog starts in: the one the user last chose in this run, else the user's
// own folder for that kind of file, else the home folder.
enum class UsersFolder { Documents, Pictures };
QString startingFolder(UsersFolder kind, const QString& lastChosen = {});
