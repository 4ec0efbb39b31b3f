// SPDX-License-Identifier: GPL-3.0-or-later

#include "RowRanges.h"

#include <algorithm>

std::vector<RowRange> mergeRanges(std::vector<RowRange> ranges)
{
    std::sort(ranges.begin(), ranges.end(), [](const RowRange &a, const RowRange &b) { return a.first < b.first; });
    std::vector<RowRange> merged;
    merged.reserve(ranges.size());
    for (const RowRange &range : ranges) {
        if (!merged.empty() && range.first <= merged.back().last + 1)
            merged.back().last = std::max(merged.back().last, range.last);
        else
            merged.push_back(range);
    }
    return merged;
}

std::vector<RowRange> complementRanges(const std::vector<RowRange> &merged, int rowCount)
{
    std::vector<RowRange> gaps;
    gaps.reserve(merged.size() + 1);
    int next = 0;
    for (const RowRange &range : merged) {
        if (range.first > next)
            gaps.push_back({next, std::min(range.first, rowCount) - 1});
        next = std::max(next, range.last + 1);
        if (next >= rowCount)
            break;
    }
    if (next < rowCount)
        gaps.push_back({next, rowCount - 1});
    return gaps;
}

std::vector<int> rowsOf(const std::vector<RowRange> &merged)
{
    std::vector<int> rows;
    for (const RowRange &range : merged)
        for (int row = range.first; row <= range.last; ++row)
            rows.push_back(row);
    return rows;
}
