#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace tessaron {

// Helpers for Windows path texts ("C:\Tessaron\panel").

// True when the text ends with a backslash.
bool endsWithBackslash(std::string_view path);
// The text with one backslash added unless it already ends with one; empty
// text becomes "\".
std::string withTrailingBackslash(std::string_view path);
// The last part of a path, after its last backslash or slash ("config.inc"
// of "C:\Tessaron\panel\config.inc"); the whole text when it has neither.
std::string lastPathPart(std::string_view path);
// The path without its last part ("C:\Tessaron\panel"); empty when it has
// no backslash or slash.
std::string pathFolder(std::string_view path);

}  // namespace tessaron
