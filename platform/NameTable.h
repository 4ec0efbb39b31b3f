// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// Numbers the names of a batch, 0, 1, 2 ... in the order they are added, for
// sets and maps over 100,000 names asked once a row. Open addressing over the
// names' hashes: a probe compares 32 bits of hash, and reads a name's bytes
// only where those agree, where a hash of strings reached into names all over
// memory (a third of a 100,000-row preview). The names must outlive the table.
class NameTable {
public:
    explicit NameTable(std::size_t expected)
    {
        std::size_t size = 16;
        while (size < expected + expected / 2)
            size *= 2;
        slots_.resize(size);
        names_.reserve(expected);
    }
    // The name's number, added as the next one where it is new.
    std::uint32_t add(std::string_view name)
    {
        const std::uint64_t hash = hashOf(name);
        std::size_t at = probeFrom(hash);
        for (; slots_[at].number != 0; at = next(at))
            if (slots_[at].tag == tagOf(hash) && names_[slots_[at].number - 1] == name)
                return slots_[at].number - 1;
        if (names_.size() + 1 > slots_.size() / 2 + slots_.size() / 4) {
            grow();
            return add(name);
        }
        names_.push_back(name);
        slots_[at] = {tagOf(hash), std::uint32_t(names_.size())};
        return std::uint32_t(names_.size() - 1);
    }
    // Brings the slot where `name` is looked for into the cache, so that a
    // loop over many names can ask for it a few names ahead.
    void prefetch(std::string_view name) const
    {
#if defined(__GNUC__)
        __builtin_prefetch(&slots_[probeFrom(hashOf(name))]);
#else
        (void)name;
#endif
    }
    std::optional<std::uint32_t> find(std::string_view name) const
    {
        const std::uint64_t hash = hashOf(name);
        for (std::size_t at = probeFrom(hash); slots_[at].number != 0; at = next(at))
            if (slots_[at].tag == tagOf(hash) && names_[slots_[at].number - 1] == name)
                return slots_[at].number - 1;
        return std::nullopt;
    }
    std::size_t size() const { return names_.size(); }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t number = 0; // the name's number plus one; 0 for a free slot
    };
    static std::uint64_t hashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
    static std::uint32_t tagOf(std::uint64_t hash) { return std::uint32_t(hash >> 32); }
    std::size_t probeFrom(std::uint64_t hash) const { return std::size_t(hash) & (slots_.size() - 1); }
    std::size_t next(std::size_t at) const { return (at + 1) & (slots_.size() - 1); }
    void grow()
    {
        std::vector<std::string_view> names = std::move(names_);
        *this = NameTable(2 * names.size() + 16);
        for (std::string_view name : names)
            add(name);
    }

    std::vector<Slot> slots_;
    std::vector<std::string_view> names_;
};
