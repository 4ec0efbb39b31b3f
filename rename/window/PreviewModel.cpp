// SPDX-License-Identifier: GPL-3.0-or-later

#include "PreviewModel.h"

#include "ProgramTexts.h"

#include <QColor>

void PreviewModel::showPlan(std::shared_ptr<const BatchPlan> plan)
{
    beginResetModel();
    outcome_ = false;
    plan_ = std::move(plan);
    states_.resize(plan_ ? plan_->requests().size() : 0);
    for (std::size_t i = 0; i < states_.size(); ++i)
        states_[i] = previewOf(*plan_, i);
    filter();
    endResetModel();
}

void PreviewModel::showOutcome(std::shared_ptr<const BatchPlan> plan, const ClickResult &result)
{
    beginResetModel();
    outcome_ = true;
    plan_ = std::move(plan);
    states_.resize(plan_->requests().size());
    for (std::size_t i = 0; i < states_.size(); ++i)
        states_[i]
            = i < result.outcomes.size() ? previewOf(*plan_, i, result.outcomes[i]) : RowPreview{PreviewState::Stopped};
    filter();
    endResetModel();
}

void PreviewModel::setOnlySkipped(bool only)
{
    beginResetModel();
    onlySkipped_ = only;
    filter();
    endResetModel();
}

void PreviewModel::filter()
{
    shown_.clear();
    if (!onlySkipped_)
        return;
    for (std::size_t i = 0; i < states_.size(); ++i)
        if (!renames(states_[i].state))
            shown_.push_back(i);
}

QString PreviewModel::counts() const
{
    qsizetype renamed = 0;
    for (const RowPreview &row : states_)
        renamed += renames(row.state);
    const qsizetype skipped = qsizetype(states_.size()) - renamed;
    return outcome_ ? Texts::previewOutcomeCounts(renamed, skipped) : Texts::previewCounts(renamed, skipped);
}

int PreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(onlySkipped_ ? shown_.size() : states_.size());
}

int PreviewModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Columns; }

QVariant PreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t row = rowAt(index.row());
    const RenameRequest &request = plan_->requests()[row];
    const RowPreview &state = states_[row];
    const bool keeps = !renames(state.state);
    if (role == Qt::ForegroundRole && index.column() == NewName && keeps)
        return QColor(Qt::gray);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case OldName:
        return displayName(request.from);
    case NewName:
        // A row that keeps its name shows the name it keeps.
        return displayName(keeps ? request.from : request.to);
    case State:
        if (!outcome_)
            return stateText(state);
        if (state.state == PreviewState::Renamed)
            return Texts::outcomeRenamed();
        return skips(state.state) && state.state != PreviewState::Stopped ? Texts::outcomeSkipped(stateText(state))
                                                                          : stateText(state);
    }
    return {};
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == OldName   ? Texts::previewOldName()
           : section == NewName ? Texts::previewNewName()
                                : Texts::previewState();
}
