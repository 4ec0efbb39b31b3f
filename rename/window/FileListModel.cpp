// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileListModel.h"

FileListModel::FileListModel(const std::vector<NameBytes> &names, TipFor tipFor, QObject *parent)
    : QAbstractListModel(parent)
    , names_(names)
    , tipFor_(std::move(tipFor))
{
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return displayName(names_[static_cast<std::size_t>(index.row())]);
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
        return tipFor_(index.row());
    return {};
}

void FileListModel::reset()
{
    beginResetModel();
    endResetModel();
}
