// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "NativeNames.h"

#include <QAbstractListModel>
#include <functional>
#include <vector>

// The file list's rows, read from names kept elsewhere as the bytes on disk:
// each shows a readable form of its name, and as its tip and its accessible
// description what a click would do to it.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using TipFor = std::function<QString(int row)>;
    FileListModel(const std::vector<NameBytes> &names, TipFor tipFor, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // The names were replaced: every row is new, and none stays selected in any view.
    void reset();

private:
    const std::vector<NameBytes> &names_;
    TipFor tipFor_;
};
