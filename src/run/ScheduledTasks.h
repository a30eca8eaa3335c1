#pragma once

#include <string>

#include "runcontext/RunContext.h"

namespace tessaron {

// The command line that registers one daily task with the panel's task tool
// (bin\jt.exe): task name, account and password, a daily trigger at 00:00,
// the bin folder as working directory and the script as the program run.
// Each quoted value is quoted by the Windows command-line rules (see
// quoteCommandLineArgument), so the tool receives it as one argument exactly
// as typed; a value without quotes stands in the line as it is.
std::string taskCommandLine(const std::string& installDir, const std::string& username,
                            const std::string& password, const std::string& taskName,
                            const std::string& scriptFile);

// The scheduled-task stage: registers the bandwidth task and, when
// statistics are on, the statistics task. A task whose command line is the
// one it was registered with last time (see TaskRecord) is not registered
// again; its line says so. The tool's own result is neither tested nor
// reported.
void createScheduledTasks(RunContext& run);

}  // namespace tessaron
