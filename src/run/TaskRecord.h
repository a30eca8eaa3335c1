#pragma once

#include <map>
#include <string>

#include "runcontext/RunContext.h"

namespace tessaron {

// What the scheduled-task stage registered before: per task name, the
// content hash of the command line that registered it. The task tool replaces a
// task of the same name, so a task whose command line has not changed needs
// no new registration; the record says which ones. It holds digests only, as
// the command lines carry the administrator's password.
class TaskRecord {
public:
    // Reads InstallDir + "\panel\tessaron-tasks.registered"; a missing or
    // unreadable file is an empty record.
    explicit TaskRecord(RunContext& run);

    // True when the task was registered with exactly this command line.
    bool registered(const std::string& taskName, const std::string& commandLine) const;
    void remember(const std::string& taskName, const std::string& commandLine);
    // Writes the record when remember changed it. A failure is a WARNING
    // line: the next run then registers the tasks again, which is harmless.
    void save();

    static std::string path(const SettingsRecord& settings);

private:
    RunContext& run_;
    std::map<std::string, std::string> digests_;
    bool changed_ = false;
};

}  // namespace tessaron
