#pragma once

#include <string>

namespace tessaron {

// How a dialect reads a quoted text literal. Both double a single quote;
// MySQL also reads a backslash as an escape unless the session's sql_mode
// holds NO_BACKSLASH_ESCAPES.
struct LiteralStyle {
    bool backslashEscapes = false;
};

// The value as the inside of a single-quoted literal, so the server stores
// it byte for byte.
std::string literalText(const std::string& value, LiteralStyle style);

// The value between single quotes.
std::string quotedLiteral(const std::string& value, LiteralStyle style);

// Whether a sql_mode text switches backslash escapes off.
bool sqlModeDisablesBackslashEscapes(const std::string& sqlMode);

}  // namespace tessaron
