#include "database/SqlLiteral.h"

#include <algorithm>
#include <cctype>

namespace tessaron {

std::string literalText(const std::string& value, LiteralStyle style) {
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        if (c == '\'') {
            text += "''";
        } else if (c == '\\' && style.backslashEscapes) {
            text += "\\\\";
        } else {
            text += c;
        }
    }
    return text;
}

std::string quotedLiteral(const std::string& value, LiteralStyle style) {
    return "'" + literalText(value, style) + "'";
}

bool sqlModeDisablesBackslashEscapes(const std::string& sqlMode) {
    // sql_mode is a comma-separated list of upper-case names.
    std::string mode = sqlMode;
    std::transform(mode.begin(), mode.end(), mode.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::size_t start = 0;
    while (start <= mode.size()) {
        std::size_t end = mode.find(',', start);
        if (end == std::string::npos) end = mode.size();
        if (mode.compare(start, end - start, "NO_BACKSLASH_ESCAPES") == 0) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace tessaron
