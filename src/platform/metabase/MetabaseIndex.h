#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace tessaron {

// A 32-bit hash of a name, equal for names equal without regard to ASCII
// case: eight bytes at a time, each taken with its 0x20 bit set (which makes
// upper- and lower-case letters one, and a few other pairs, which comparing
// the names then tells apart).
inline std::uint32_t nameTag(std::string_view name) noexcept {
    constexpr std::uint64_t kFold = 0x2020202020202020ull;
    const auto mix = [](std::uint64_t hash, std::uint64_t word) {
        hash = (hash ^ (word | kFold)) * 0xff51afd7ed558ccdull;
        return hash ^ (hash >> 32);
    };
    std::uint64_t hash = 0x9e3779b97f4a7c15ull ^ name.size();
    std::size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, name.data() + i, 8);
        hash = mix(hash, word);
    }
    if (i < name.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + i, name.size() - i);
        hash = mix(hash, word);
    }
    return static_cast<std::uint32_t>(hash ^ (hash >> 29));
}

// Names to numbers, found without regard to case: an open-addressing table
// whose slot is eight bytes (the name's tag and the number), so a table of
// many thousand names stays in the processor's cache while it is filled and
// probed. The names stay with their owner; nameOf(number) gives one.
class NumberIndex {
public:
    static constexpr std::uint32_t npos = 0xFFFFFFFFu;

    void reserve(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity < count * 2) capacity *= 2;
        if (capacity > slots_.size()) rehash(capacity);
    }

    // Adds the number unless the name is there; returns the number that was
    // there, or npos.
    template <typename NameOf>
    std::uint32_t insert(std::string_view name, std::uint32_t number, NameOf&& nameOf) {
        if ((size_ + 1) * 2 > slots_.size()) rehash(slots_.empty() ? 16 : slots_.size() * 2);
        const auto tag = nameTag(name);
        Slot& slot = slots_[probe(name, tag, nameOf)];
        if (slot.entry != 0) return slot.entry - 1;
        slot = {tag, number + 1};
        ++size_;
        return npos;
    }

    template <typename NameOf>
    std::uint32_t find(std::string_view name, NameOf&& nameOf) const {
        if (slots_.empty()) return npos;
        const Slot& slot = slots_[probe(name, nameTag(name), nameOf)];
        return slot.entry == 0 ? npos : slot.entry - 1;
    }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t entry = 0;  // number + 1; 0 is an empty slot
    };

    // The slot holding the name, or the empty one where it would go.
    template <typename NameOf>
    std::size_t probe(std::string_view name, std::uint32_t tag, NameOf& nameOf) const {
        for (std::size_t i = tag & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.entry == 0 ||
                (slot.tag == tag && equalsIgnoreCase(nameOf(slot.entry - 1), name))) {
                return i;
            }
        }
    }

    void rehash(std::size_t capacity) {
        std::vector<Slot> old(capacity);
        old.swap(slots_);
        mask_ = capacity - 1;
        for (const Slot& slot : old) {
            if (slot.entry == 0) continue;
            auto i = slot.tag & mask_;
            while (slots_[i].entry != 0) i = (i + 1) & mask_;
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    std::size_t mask_ = 0;
};

}  // namespace tessaron
