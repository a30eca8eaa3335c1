#include "platform/Text.h"

#include <algorithm>

namespace tessaron {

std::string trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string asciiLower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return result;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::string replaceAll(std::string text, std::string_view what, std::string_view with) {
    if (what.empty()) return text;
    // Built in one pass: replacing in place would move the rest of the text
    // at every match.
    std::string result;
    std::string::size_type start = 0;
    std::string::size_type position;
    while ((position = text.find(what, start)) != std::string::npos) {
        result.append(text, start, position - start);
        result += with;
        start = position + what.size();
    }
    if (start == 0) return text;
    result.append(text, start, std::string::npos);
    return result;
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    std::string_view::size_type start = 0;
    while (true) {
        const auto position = text.find(separator, start);
        if (position == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, position - start));
        start = position + separator.size();
    }
}

}  // namespace tessaron
