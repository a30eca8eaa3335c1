#pragma once

#include <string>

#include "platform/Platform.h"

namespace tessaron::app::answers {

// Paths in an answers file written relative to the folders that depend on
// the Windows release ("%SystemRoot%\system32\dns" for C:\WINDOWS on Windows
// Server 2003 and C:\WINNT on Windows 2000), so that a recording made on one
// release gives each machine its own folders.

// The value with a leading Windows folder or Program Files folder of this
// machine replaced by "%SystemRoot%" or "%ProgramFiles%"; nullopt when the
// value begins with neither.
std::optional<std::string> releaseRelativePath(SystemQueries& system, const std::string& value);

// An unquoted answer that begins with "%SystemRoot%" or "%ProgramFiles%"
// (any case) with that part replaced by this machine's folder; any other
// value unchanged.
std::string expandReleasePath(SystemQueries& system, const std::string& value);

}  // namespace tessaron::app::answers
