// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ClassSummaryModel.h"

#include <QDir>
#include <limits>

namespace {

bool isNumeric(SummaryColumn column) {
    return column == SummaryColumn::Curves || column == SummaryColumn::Distance ||
           column == SummaryColumn::Curve || column == SummaryColumn::Horizontal ||
           column == SummaryColumn::Vertical || column == SummaryColumn::BySearch;
}

} // namespace

void ClassSummaryModel::setRows(std::vector<SummaryRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ClassSummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ClassSummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SummaryColumnCount;
}

QVariant ClassSummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const SummaryRow& row = rows_[static_cast<std::size_t>(index.row())];
    const auto column = SummaryColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return summaryText(row, column);
    case SortRole:
        if (isNumeric(column))
            return summaryNumber(row, column).value_or(std::numeric_limits<double>::infinity());
        return summaryText(row, column);
    case Qt::ToolTipRole:
        if (column == SummaryColumn::File)
            return QDir::toNativeSeparators(row.path);
        if (column == SummaryColumn::Note)
            return row.note;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(isNumeric(column) ? Qt::AlignRight | Qt::AlignVCenter
                                                     : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ClassSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < SummaryColumnCount)
        return summaryTitle(SummaryColumn(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}
