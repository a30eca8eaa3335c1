#include "settings/ConvertASPText.h"

namespace tessaron {

// The three replacements (quotes doubled, "/" to "\", runs of "\" to one) in
// one pass over the text: a quote is never turned into a backslash, so a
// backslash is written only when the character written last is not one. The
// time is linear in the length, whatever the value holds.
std::string ConvertASPText(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '"') {
            result += "\"\"";
        } else if (c == '/' || c == '\\') {
            if (result.empty() || result.back() != '\\') result += '\\';
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace tessaron
