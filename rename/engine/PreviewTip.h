// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchPlan.h"

#include <QString>

// The tip the batch's `index`-th row shows: the name 确定 would give it and
// its running number, or why it would be skipped.
QString previewTip(const BatchPlan &plan, std::size_t index);
