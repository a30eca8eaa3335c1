#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/wiring/Backend.h"

namespace tessaron::app::unattended {

// The unattended front end: parses the arguments (after the program name),
// opens the machine image through the backend, runs the load step, applies
// the answers, presses the install button and performs the run. The log goes
// to out as it is written, one entry a line; messages and usage errors go to
// err. Returns the exit status. With --help it prints the usage to out and
// returns 0; without --answers it reports that this build has no window and
// returns 64 (the window's main handles that case itself before calling
// this).
int runUnattended(const std::vector<std::string>& args, const wiring::Backend& backend,
                  std::ostream& out, std::ostream& err);

}  // namespace tessaron::app::unattended
