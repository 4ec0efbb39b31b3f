// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "NativeNames.h"

#include <cstdint>
#include <vector>

// The orders the list can show its rows in; the running numbers follow it.
enum class RowOrder {
    FileSystem, // as the folder hands its entries out
    Name,       // by the shown name, digits by their value (img2 before img10), case ignored
    Modified,   // oldest first
};

// The rows of `names`, given in the file system's order, in `order`: each is
// its place in `names`. `modified` holds each name's time where the order is
// by time. Rows that tie keep the file system's order.
std::vector<std::size_t> rowsInOrder(const std::vector<NameBytes> &names, RowOrder order,
                                     const std::vector<std::int64_t> &modified);
