#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// One argument of a Windows command line, between double quotes, written so
// that the program's argument parser (the C runtime's, CommandLineToArgvW)
// gives back exactly the text: backslashes before a quote are doubled and the
// quote escaped as \", backslashes before the closing quote doubled. Other
// backslashes stay single, so a path reads as it is ("C:\Tessaron\bin").
std::string quoteCommandLineArgument(std::string_view text);

// Splits a command line into program and arguments: blanks separate, double
// quotes group (and are removed).
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace tessaron
