// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "NativeNames.h"

#include <QAbstractListModel>
#include <vector>

// The file list's rows: each keeps the file's name as the bytes on disk and
// shows a readable form of it.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Replaces every row; no row stays selected in any view.
    void setNames(std::vector<NameBytes> names);
    const std::vector<NameBytes> &names() const { return names_; }

private:
    std::vector<NameBytes> names_;
};
