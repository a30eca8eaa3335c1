#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace tessaron {

inline constexpr std::size_t kHashStart = 1469598103934665603ull;

// One step of a hash without regard to ASCII case (FNV-1a over lower case).
inline std::size_t caseInsensitiveHashStep(std::size_t hash, char c) noexcept {
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return (hash ^ static_cast<unsigned char>(lower)) * 1099511628211ull;
}

inline std::size_t caseInsensitiveHash(std::string_view text) noexcept {
    std::size_t hash = kHashStart;
    for (const char c : text) hash = caseInsensitiveHashStep(hash, c);
    return hash;
}

inline bool caseInsensitiveEqual(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

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

// Names (viewed, not owned) to entries, found without regard to case. An
// open-addressing table: a metabase of many thousand keys is indexed without
// an allocation per key, and lookups cost one hash and a short probe.
template <typename T>
class CaseInsensitiveIndex {
public:
    void reserve(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity < count * 2) capacity *= 2;
        if (capacity > slots_.size()) rehash(capacity);
    }

    // Adds the entry unless the name is there already; returns the entry
    // that was there, or null.
    T* insert(std::string_view name, T* value) {
        if ((size_ + 1) * 2 > slots_.size()) rehash(slots_.empty() ? 16 : slots_.size() * 2);
        const auto hash = caseInsensitiveHash(name);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (!slot.value) {
                slot = {hash, name, value};
                ++size_;
                return nullptr;
            }
            if (slot.hash == hash && caseInsensitiveEqual(slot.name, name)) return slot.value;
        }
    }

    T* find(std::string_view name) const {
        if (slots_.empty()) return nullptr;
        const auto hash = caseInsensitiveHash(name);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (!slot.value) return nullptr;
            if (slot.hash == hash && caseInsensitiveEqual(slot.name, name)) return slot.value;
        }
    }

private:
    struct Slot {
        std::size_t hash = 0;
        std::string_view name;
        T* value = nullptr;
    };

    void rehash(std::size_t capacity) {
        std::vector<Slot> old(capacity);
        old.swap(slots_);
        mask_ = capacity - 1;
        for (const Slot& slot : old) {
            if (!slot.value) continue;
            for (std::size_t i = slot.hash & mask_;; i = (i + 1) & mask_) {
                if (!slots_[i].value) {
                    slots_[i] = slot;
                    break;
                }
            }
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    std::size_t mask_ = 0;
};

// Names to entry numbers, found without regard to case, for tables of many
// thousand entries: a slot is eight bytes (part of the hash and the number),
// so the table stays in the processor's cache while it is filled and probed.
// The names themselves stay with the entries; nameOf(number) gives one.
class NumberIndex {
public:
    static constexpr std::uint32_t npos = 0xFFFFFFFFu;

    void reserve(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity < count * 2) capacity *= 2;
        if (capacity > slots_.size()) rehash(capacity);
    }

    static std::uint32_t tagOf(std::string_view name) { return nameTag(name); }
    static std::uint32_t fold(std::size_t hash) {
        return static_cast<std::uint32_t>(hash ^ (hash >> 32));
    }

    // Adds the number unless the name is there; returns the number that was
    // there, or npos.
    template <typename NameOf>
    std::uint32_t insert(std::string_view name, std::uint32_t number, NameOf&& nameOf) {
        return insert(name, tagOf(name), number, nameOf);
    }
    // The same with the name's tag already known.
    template <typename NameOf>
    std::uint32_t insert(std::string_view name, std::uint32_t tag, std::uint32_t number,
                         NameOf&& nameOf) {
        if ((size_ + 1) * 2 > slots_.size()) rehash(slots_.empty() ? 16 : slots_.size() * 2);
        for (std::size_t i = tag & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.entry == 0) {
                slot = {tag, number + 1};
                ++size_;
                return npos;
            }
            if (slot.tag == tag && caseInsensitiveEqual(nameOf(slot.entry - 1), name)) {
                return slot.entry - 1;
            }
        }
    }

    template <typename NameOf>
    std::uint32_t find(std::string_view name, NameOf&& nameOf) const {
        if (slots_.empty()) return npos;
        const auto tag = tagOf(name);
        for (std::size_t i = tag & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.entry == 0) return npos;
            if (slot.tag == tag && caseInsensitiveEqual(nameOf(slot.entry - 1), name)) {
                return slot.entry - 1;
            }
        }
    }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t entry = 0;  // number + 1; 0 is an empty slot
    };

    void rehash(std::size_t capacity) {
        std::vector<Slot> old(capacity);
        old.swap(slots_);
        mask_ = capacity - 1;
        for (const Slot& slot : old) {
            if (slot.entry == 0) continue;
            for (std::size_t i = slot.tag & mask_;; i = (i + 1) & mask_) {
                if (slots_[i].entry == 0) {
                    slots_[i] = slot;
                    break;
                }
            }
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    std::size_t mask_ = 0;
};

}  // namespace tessaron
