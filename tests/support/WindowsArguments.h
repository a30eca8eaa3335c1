#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron::testing {

// The arguments a Windows program gets from its command line, split as the C
// runtime and CommandLineToArgvW split them (written here from those rules,
// independently of the program's quoting): blanks outside quotes separate
// arguments; a quote toggles quoting; 2n backslashes before a quote give n
// backslashes, 2n+1 give n and a literal quote; other backslashes stay.
std::vector<std::string> splitWindowsArguments(std::string_view commandLine);

}  // namespace tessaron::testing
