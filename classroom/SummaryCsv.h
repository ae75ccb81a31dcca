// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ClassSummary.h"

#include <QByteArray>
#include <vector>

// The summary as a CSV file for a spreadsheet set to Italian: UTF-8 with a byte order mark, ";"
// between fields, a decimal comma whatever the regional settings, a field holding ";", '"' or a
// line end within quotes (a quote doubled), each line ended by CR LF; the titles first. A text
// beginning with "=", "+", "-", "@", a tab or a carriage return starts with "'", so that no
// spreadsheet runs it as a formula; numbers are written as numbers.
QByteArray summaryCsv(const std::vector<SummaryRow>& rows);
