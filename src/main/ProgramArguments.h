#pragma once

#include <string>
#include <vector>

namespace tessaron::startup {

// The arguments after the program's name as UTF-8 text. On Windows they are
// read from the wide command line (GetCommandLineW, CommandLineToArgvW): the
// argv of main holds them in the ANSI code page, which loses every character
// outside it.
std::vector<std::string> programArguments(int argc, char** argv);

// Whether these arguments ask for the settings window (no unattended mode,
// no --help or --version). Arguments the command line refuses do not: the
// unattended front end reports them.
bool opensSettingsWindow(const std::vector<std::string>& args);

}  // namespace tessaron::startup
