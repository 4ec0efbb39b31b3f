// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RenamePreview.h"

#include <QString>

// The tip a selected row shows: the name 确定 would give it and its running
// number, or why it would be skipped. `names` are the list's rows.
QString previewTip(const Preview &preview, const std::vector<NameBytes> &names);
