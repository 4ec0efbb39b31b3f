// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PreviewTip.h"
#include "SessionReports.h"

#include <QAbstractTableModel>

// The preview's rows, one for each selected file: old name, new name and what
// 确定 will do to it, from the plan the tips and the click use; after a click,
// what it did. Rows are read on demand, so a million stay light.
class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OldName, NewName, State, Columns };

    using QAbstractTableModel::QAbstractTableModel;

    // None where a click would stop at a check.
    void showPlan(std::shared_ptr<const BatchPlan> plan);
    void showOutcome(std::shared_ptr<const BatchPlan> plan, const ClickResult &result);
    // Only the rows that keep their name.
    void setOnlySkipped(bool only);
    // "将改名 N 个，跳过 M 个", or after a click what it did.
    QString counts() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void filter();
    std::size_t rowAt(int row) const { return onlySkipped_ ? shown_[std::size_t(row)] : std::size_t(row); }

    // Held, not copied: the session makes a new plan for any change.
    std::shared_ptr<const BatchPlan> plan_;
    std::vector<RowPreview> states_;
    bool outcome_ = false;
    bool onlySkipped_ = false;
    std::vector<std::size_t> shown_; // the rows that keep their name
};
