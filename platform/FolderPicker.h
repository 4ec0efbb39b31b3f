// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

// The folder picker: starts at the top of the folder tree, has no owner window,
// returns the picked folder's path or nothing when the user cancels.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    virtual std::optional<QString> pick(const QString &title) = 0;
};
