#include "settings/ConfigFileReader.h"

#include "platform/WindowsPath.h"

namespace tessaron {

std::string unquoteConfigValue(std::string_view rawValue) {
    std::string value = trimSpaces(rawValue);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    } else if (value == "\"") {
        // A lone quote is an empty quoted value cut short.
        value.clear();
    }
    return value;
}

std::vector<ConfigLine> parseConfigLines(std::string_view text) {
    std::vector<ConfigLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (end == std::string_view::npos) {
            start = text.size();
        } else {
            start = end +
                    ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        lines.push_back({asciiLower(trimSpaces(line.substr(0, equals))),
                         unquoteConfigValue(line.substr(equals + 1))});
    }
    return lines;
}

}  // namespace tessaron
