#pragma once

// Small text helpers shared by every layer: trimming, ASCII case, splitting,
// replacing and counting characters. Texts are UTF-8 unless said otherwise.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// Removes leading and trailing spaces (spaces only, as the runtime's Trim).
std::string trimSpaces(std::string_view text);
// Removes leading and trailing blanks: spaces and tabs.
std::string_view trimBlanks(std::string_view text);
// Lower case of ASCII letters.
std::string asciiLower(std::string_view text);
// Equal but for the case of ASCII letters.
inline bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // the usual case, where both are spelt alike
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}
// Replaces every occurrence of what by with, exact case, in one pass.
std::string replaceAll(std::string text, std::string_view what, std::string_view with);
// Splits at every occurrence of the separator.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);
// Characters, not bytes, of a UTF-8 text.
std::size_t utf8Length(std::string_view text);
// The entity XML text and attributes need for one of the characters it
// reserves (&, <, > and "); null for any other character.
inline const char* xmlEntity(char c) noexcept {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        default:
            return nullptr;
    }
}

}  // namespace tessaron
