#include "platform/image/NtfsNameOrder.h"

#include <algorithm>
#include <cstdint>

#include "platform/CodePage1252.h"

namespace tessaron {
namespace {

// NTFS's upcase table for the scripts a server's folder names use (Latin-1,
// Latin Extended-A, Greek and Cyrillic); other characters are their own
// upper case.
char16_t upcase(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c < 0x80) return c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs of upper and lower case, the upper one first: even upper
        // letters, except from U+0139 to U+0148 and from U+0179 on, where
        // the upper letters are odd.
        const bool shifted = (c >= 0x139 && c <= 0x148) || c >= 0x179;
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if (shifted ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<char16_t>(c - 1);
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    return c;
}

// The upper-cased UTF-16 code units of a UTF-8 name; a byte that starts no
// valid sequence stands for itself.
std::u16string upcasedUnits(const std::string& name) {
    std::u16string units;
    for (std::size_t at = 0; at < name.size();) {
        const auto decoded = nextUtf8(name, at);
        char32_t c = 0;
        if (decoded) {
            c = *decoded;
        } else {
            c = static_cast<unsigned char>(name[at]);
            ++at;
        }
        if (c >= 0x10000) {
            const auto offset = static_cast<std::uint32_t>(c - 0x10000);
            units += static_cast<char16_t>(0xD800 + (offset >> 10));
            units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            units += upcase(static_cast<char16_t>(c));
        }
    }
    return units;
}

}  // namespace

void sortInNtfsOrder(std::vector<std::string>& names) {
    std::vector<std::pair<std::u16string, std::string>> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) keyed.emplace_back(upcasedUnits(name), std::move(name));
    // Names equal but for case cannot share an NTFS folder; on a host that
    // allows them the bytes decide, so the order is still the same everywhere.
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed) names.push_back(std::move(name));
}

}  // namespace tessaron
