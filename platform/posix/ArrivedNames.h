// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FileRenamer.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// The new names of the requests a batch has moved, asked once a request.
// Open addressing over the names' hashes: a name that is not there is told
// apart without a look at any name's bytes, where a set of 100,000 strings
// spent a tenth of the batch's own time reaching into them.
class ArrivedNames {
public:
    explicit ArrivedNames(const std::vector<RenameRequest> &requests)
        : requests_(requests)
    {
        std::size_t size = 16;
        while (size < requests.size() + requests.size() / 2)
            size *= 2;
        slots_.resize(size);
    }
    void add(std::size_t request)
    {
        const std::uint64_t hash = hashOf(requests_[request].to);
        std::size_t at = std::size_t(hash) & (slots_.size() - 1);
        while (slots_[at].request != 0)
            at = (at + 1) & (slots_.size() - 1);
        slots_[at] = {std::uint32_t(hash >> 32), std::uint32_t(request + 1)};
    }
    bool has(std::string_view name) const
    {
        const std::uint64_t hash = hashOf(name);
        for (std::size_t at = std::size_t(hash) & (slots_.size() - 1); slots_[at].request != 0;
             at = (at + 1) & (slots_.size() - 1))
            if (slots_[at].tag == std::uint32_t(hash >> 32) && requests_[slots_[at].request - 1].to == name)
                return true;
        return false;
    }

private:
    static std::uint64_t hashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t request = 0; // its index plus one; 0 for a free slot
    };
    const std::vector<RenameRequest> &requests_;
    std::vector<Slot> slots_;
};
