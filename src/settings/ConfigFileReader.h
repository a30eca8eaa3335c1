#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// One assignment line of config.inc as the reader takes it apart.
struct ConfigLine {
    std::string key;    // text before the first "=", spaces trimmed, lower case
    std::string value;  // text after it, spaces trimmed, then unquoted
};

// Splits the text of config.inc into its assignment lines, in file order.
// Lines end at CR LF (a lone CR or LF ends a line too); a last line without a
// line end counts; lines without "=" are skipped. Comment lines that hold an
// "=" come back as well: their key is simply unknown to every caller.
std::vector<ConfigLine> parseConfigLines(std::string_view text);

// The value rule: spaces (not tabs) trimmed at both ends, then, when the rest
// is at least two characters long and starts and ends with a double quote,
// exactly those two quotes removed; a lone double quote becomes empty text.
// Doubled quotes inside stay doubled.
std::string unquoteConfigValue(std::string_view rawValue);

}  // namespace tessaron
