#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// Helpers for Windows path texts ("C:\Tessaron\panel").

// True when the text ends with a backslash.
bool endsWithBackslash(std::string_view path);
// The text with one backslash added unless it already ends with one; empty
// text becomes "\".
std::string withTrailingBackslash(std::string_view path);
// Removes leading and trailing blanks (spaces only, as the runtime's Trim).
std::string trimSpaces(std::string_view text);
// Lower case of ASCII letters.
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Replaces every occurrence of what by with, exact case.
std::string replaceAll(std::string text, std::string_view what, std::string_view with);
// Splits at every occurrence of the separator.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

}  // namespace tessaron
