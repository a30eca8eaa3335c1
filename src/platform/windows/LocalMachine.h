#pragma once

#include <memory>

#include "platform/Platform.h"

namespace tessaron::platform::windows {

// The machine the program runs on, through Windows' own interfaces. The
// database service is handed in (the ODBC backend in the program). COM is
// entered on each thread that uses the platform, on first use.
std::unique_ptr<Platform> openLocalMachine(Database& database);

}  // namespace tessaron::platform::windows
