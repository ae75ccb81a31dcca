// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRgb>

// The fixed sixteen-colour palette; indexes outside 0..15 wrap into it.
QRgb QBColor(int index);
