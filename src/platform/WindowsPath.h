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

}  // namespace tessaron
