// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ClassSummary.h"

#include <QAbstractTableModel>
#include <vector>

// The summary's rows as a table: the texts the CSV holds, in the regional format. Its sort role
// gives numbers as numbers (an empty one after every number) and words as words.
class ClassSummaryModel final : public QAbstractTableModel {
public:
    static constexpr int SortRole = Qt::UserRole;

    explicit ClassSummaryModel(std::vector<SummaryRow> rows, QObject* parent = nullptr)
        : QAbstractTableModel(parent), rows_(std::move(rows)) {}

    const std::vector<SummaryRow>& rows() const { return rows_; }
    void setRows(std::vector<SummaryRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<SummaryRow> rows_;
};
