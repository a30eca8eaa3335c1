#pragma once

namespace tessaron::startup {

// The program that holds the settings window: tessaron-config-window in the
// folder of the running program.
inline constexpr const char* kWindowProgramName = "tessaron-config-window";

// Replaces this process with the window program (exec: the same process ID,
// its exit status the program's), passing argv unchanged. Returns only when
// that fails, after saying on standard error which file could not be started
// and why, with the internal-error status.
int handOverToWindowProgram(char** argv);

}  // namespace tessaron::startup
