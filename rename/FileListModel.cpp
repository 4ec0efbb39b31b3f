// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileListModel.h"

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return displayName(names_[static_cast<std::size_t>(index.row())]);
}

void FileListModel::setNames(std::vector<NameBytes> names)
{
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}
