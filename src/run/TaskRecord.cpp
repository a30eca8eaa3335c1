#include "run/TaskRecord.h"

#include "platform/Text.h"
#include "run/ContentHash.h"

namespace tessaron {
namespace {
const std::string kSeparator = " = ";
}  // namespace

std::string TaskRecord::path(const SettingsRecord& settings) {
    return settings.InstallDir + "\\panel\\tessaron-tasks.registered";
}

TaskRecord::TaskRecord(RunContext& run) : run_(run) {
    const std::string file = path(run.settings);
    auto text = run.attempt([&]() -> std::string {
        FileSystem& files = run.platform.Files();
        return files.FileExists(file) ? files.ReadTextFile(file) : std::string();
    });
    run.failure.clear();
    if (!text) return;
    for (auto line : splitText(*text, "\n")) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto separator = line.rfind(kSeparator);
        if (separator == std::string::npos) continue;
        digests_[line.substr(0, separator)] = line.substr(separator + kSeparator.size());
    }
}

bool TaskRecord::registered(const std::string& taskName, const std::string& commandLine) const {
    const auto found = digests_.find(taskName);
    return found != digests_.end() && found->second == contentHash(commandLine);
}

void TaskRecord::remember(const std::string& taskName, const std::string& commandLine) {
    const std::string digest = contentHash(commandLine);
    auto& held = digests_[taskName];
    if (held == digest) return;
    held = digest;
    changed_ = true;
}

void TaskRecord::save() {
    if (!changed_) return;
    run_.attempt([&] {
        auto writer = run_.platform.Files().CreateTextFile(path(run_.settings), true);
        for (const auto& [name, digest] : digests_) writer->WriteLine(name + kSeparator + digest);
        writer->Close();
    });
    if (run_.failure.failed()) {
        run_.AddProgressText("WARNING: Could not record the registered tasks in " +
                             path(run_.settings) + " - " + run_.failure.description());
    }
    run_.failure.clear();
    changed_ = false;
}

}  // namespace tessaron
