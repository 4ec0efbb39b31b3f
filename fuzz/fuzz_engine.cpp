// SPDX-License-Identifier: GPL-3.0-or-later

// One batch decoded from the input, run for real on a folder in /dev/shm: the
// prediction, the click and undo must agree, and no file may be lost.
#include "BatchCase.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string folder = "/dev/shm/quillbox-fuzz-engine-" + std::to_string(getpid());
    static PosixCalls calls;
    BatchCaseCount count;
    removeBatchCase(folder);
    const std::optional<std::string> wrong
        = runBatchCase(folder, std::string_view(reinterpret_cast<const char *>(data), size), count, calls, false);
    removeBatchCase(folder);
    if (wrong) {
        std::fprintf(stderr, "%s\n", wrong->c_str());
        std::abort();
    }
    return 0;
}
