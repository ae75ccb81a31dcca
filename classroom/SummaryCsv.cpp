// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SummaryCsv.h"

#include <QLocale>

namespace {

QString csvField(QString text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// A text that a spreadsheet would run as a formula (a file named "=HYPERLINK(…)" or
// "@SUM(…)") is kept as text by a leading apostrophe, as spreadsheet makers advise.
QString inert(QString text) {
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()))
        text.prepend(u'\'');
    return text;
}

QString fieldOf(const SummaryRow& row, SummaryColumn column) {
    QString text = summaryText(row, column);
    // Only words are made inert: a number, a negative one too, stays a number.
    if (!summaryNumber(row, column))
        return inert(text);
    // The number is written as people read it here, then given the comma the spreadsheet
    // expects.
    if (column == SummaryColumn::Distance)
        text.replace(QLocale().decimalPoint(), QStringLiteral(","));
    return text;
}

void appendLine(QString& csv, const QStringList& fields) {
    csv += fields.join(u';');
    csv += QStringLiteral("\r\n");
}

} // namespace

QByteArray summaryCsv(const std::vector<SummaryRow>& rows) {
    QString csv;
    QStringList fields;
    for (int c = 0; c < SummaryColumnCount; ++c)
        fields << csvField(summaryTitle(SummaryColumn(c)));
    appendLine(csv, fields);
    for (const SummaryRow& row : rows) {
        fields.clear();
        for (int c = 0; c < SummaryColumnCount; ++c)
            fields << csvField(fieldOf(row, SummaryColumn(c)));
        appendLine(csv, fields);
    }
    return QByteArray("\xEF\xBB\xBF") + csv.toUtf8();
}
