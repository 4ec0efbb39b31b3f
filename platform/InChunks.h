// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

// Runs `work(begin, end)` over [0, count) in one chunk for each core, each on
// a thread of its own, and returns once all are done. For loops of
// independent calls over 100,000 rows (a stat each, a sort key each); fewer
// than `least` rows a chunk are not worth a thread.
template <class Work> void inChunks(std::size_t count, std::size_t least, const Work &work)
{
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t chunks = std::clamp<std::size_t>(count / std::max<std::size_t>(least, 1), 1, cores);
    std::vector<std::thread> threads;
    threads.reserve(chunks - 1);
    for (std::size_t chunk = 1; chunk < chunks; ++chunk)
        threads.emplace_back(
            [&work, count, chunk, chunks] { work(count * chunk / chunks, count * (chunk + 1) / chunks); });
    work(0, count / chunks);
    for (std::thread &thread : threads)
        thread.join();
}
