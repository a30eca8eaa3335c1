#include "runcontext/ConfigFileRewrite.h"

#include "platform/ScriptingErrors.h"
#include "platform/TemporaryNames.h"

namespace tessaron {
namespace {

// Its own failure must not replace the description of the failure that
// matters, so it is not recorded.
void removeQuietly(FileSystem& files, const std::string& path) {
    try {
        if (files.FileExists(path)) files.DeleteFile(path);
    } catch (const PlatformError&) {
    }
}

// The failure just recorded, when it is the disk's own and the first.
void noteDiskFailure(const RunContext& run, ConfigFileRewrite& outcome) {
    if (outcome.diskFailure.empty() && scripting_error::isDiskFailure(run.failure.number())) {
        outcome.diskFailure = run.failure.description();
    }
}

// One operation in the run's continue-on-error mode, a failure of the disk
// noted in the outcome.
template <typename Operation>
auto attemptNoting(RunContext& run, ConfigFileRewrite& outcome, Operation&& operation) {
    auto result = run.attempt(std::forward<Operation>(operation));
    if (!result) noteDiskFailure(run, outcome);
    return result;
}

// Writes every line and closes; false when any of it failed.
bool writeLines(RunContext& run, ConfigFileRewrite& outcome, TextWriter& writer,
                const std::vector<std::optional<std::string>>& lines) {
    bool complete = true;
    for (const auto& line : lines) {
        // A line whose value is missing, or that holds a character the code
        // page cannot store, fails alone; the rest are still written.
        if (!line || !attemptNoting(run, outcome, [&] { writer.WriteLine(*line); })) {
            complete = false;
        }
    }
    if (!attemptNoting(run, outcome, [&] { writer.Close(); })) complete = false;
    return complete;
}

// The folder refuses new files but the file itself may be written: the
// in-place overwrite is the only write left.
bool inPlaceOnly(FileSystem& files, const std::string& path, const PlatformError& refusal) {
    return refusal.number() == error_number::kPermissionDenied && files.FileExists(path);
}

}  // namespace

ConfigFileRewrite rewriteConfigFile(RunContext& run, const std::string& path,
                                    const std::vector<std::optional<std::string>>& lines) {
    FileSystem& files = run.platform.Files();
    ConfigFileRewrite outcome;
    const std::string temporary = temporaryPathBeside(path);

    std::unique_ptr<TextWriter> writer;
    try {
        writer = files.CreateTextFile(temporary, true);
    } catch (const PlatformError& refusal) {
        if (!inPlaceOnly(files, path, refusal)) {
            run.failure.record(refusal);
            noteDiskFailure(run, outcome);
            return outcome;
        }
        auto inPlace =
            attemptNoting(run, outcome, [&] { return files.CreateTextFile(path, true); });
        if (!inPlace || !*inPlace) return outcome;
        outcome.opened = true;
        outcome.written = writeLines(run, outcome, **inPlace, lines);
        return outcome;
    }
    if (!writer) return outcome;
    outcome.opened = true;
    const bool complete = writeLines(run, outcome, *writer, lines);
    writer.reset();
    // Replacing config.inc is where the former file is overwritten, so a
    // refusal there (a read-only config.inc) is the same failure as a file
    // that cannot be opened for overwriting.
    if (complete && !attemptNoting(run, outcome, [&] { files.ReplaceFile(temporary, path); })) {
        outcome.opened = false;
    }
    outcome.written = complete && outcome.opened;
    if (!outcome.written) removeQuietly(files, temporary);
    return outcome;
}

}  // namespace tessaron
