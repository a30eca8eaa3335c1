#include "runcontext/ConfigFileRewrite.h"

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

// Writes every line and closes; false when any of it failed.
bool writeLines(RunContext& run, TextWriter& writer,
                const std::vector<std::optional<std::string>>& lines) {
    bool complete = true;
    for (const auto& line : lines) {
        // A line whose value is missing, or that holds a character the code
        // page cannot store, fails alone; the rest are still written.
        if (!line || !run.attempt([&] { writer.WriteLine(*line); })) complete = false;
    }
    if (!run.attempt([&] { writer.Close(); })) complete = false;
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
            return outcome;
        }
        auto inPlace = run.attempt([&] { return files.CreateTextFile(path, true); });
        if (!inPlace || !*inPlace) return outcome;
        outcome.opened = true;
        outcome.written = writeLines(run, **inPlace, lines);
        return outcome;
    }
    if (!writer) return outcome;
    outcome.opened = true;
    const bool complete = writeLines(run, *writer, lines);
    writer.reset();
    // Replacing config.inc is where the former file is overwritten, so a
    // refusal there (a read-only config.inc) is the same failure as a file
    // that cannot be opened for overwriting.
    if (complete && !run.attempt([&] { files.ReplaceFile(temporary, path); })) {
        outcome.opened = false;
    }
    outcome.written = complete && outcome.opened;
    if (!outcome.written) removeQuietly(files, temporary);
    return outcome;
}

}  // namespace tessaron
