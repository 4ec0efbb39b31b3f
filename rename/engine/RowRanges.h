// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

// A run of list rows, first to last inclusive.
struct RowRange {
    int first;
    int last;
};

// Sorts the runs and joins those that overlap or touch.
std::vector<RowRange> mergeRanges(std::vector<RowRange> ranges);

// The rows of 0 .. rowCount - 1 that no run covers, as runs. Expects merged runs.
std::vector<RowRange> complementRanges(const std::vector<RowRange> &merged, int rowCount);

// Every row the merged runs cover, top to bottom.
std::vector<int> rowsOf(const std::vector<RowRange> &merged);
