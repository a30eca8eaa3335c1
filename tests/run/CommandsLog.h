#pragma once

#include <string>
#include <vector>

#include "support/TestMachine.h"

namespace tessaron::testing {

// The command lines in the image's commands.log, without their line ends.
std::vector<std::string> commandsLogLines(const TestMachine& machine);

}  // namespace tessaron::testing
