#pragma once

#include <string>
#include <vector>

namespace tessaron::startup {

// The unattended front end on this build's backends, its log on standard
// output and its messages on standard error. On Windows a load that ended on
// the machine itself, without IIS's directory-service provider, is followed
// by the line that says how to add it. Returns the exit status.
int runFromConsole(const std::vector<std::string>& args);

}  // namespace tessaron::startup
