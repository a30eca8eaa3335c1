#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// Every file the program writes beside another before it takes that file's
// place (a copy, a rewrite, a save) is named in one form:
// ".<name>.<eight hex digits>.tessaron-tmp". A process killed between the
// write and the rename leaves such a file; since one run holds a machine at a
// time, the next run (or restore) knows every file of this form it finds as
// a left-over and removes it.

// A fresh temporary name for a file named `name` (no folder).
std::string temporaryNameFor(std::string_view name);
// A fresh temporary Windows path beside the file at a Windows path.
std::string temporaryPathBeside(const std::string& windowsPath);
// True for names of the form temporaryNameFor gives.
bool isTemporaryName(std::string_view name);

}  // namespace tessaron
