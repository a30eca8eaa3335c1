#include "run/RestoreRun.h"

#include <stdexcept>

#include "platform/Failure.h"
#include "run/RunJournal.h"

namespace tessaron {
namespace {

const char* const kNotUndone =
    "Database rows and scheduled tasks created by the run are not undone.";

// Why an entry cannot be put back, or empty when it can.
std::string obstacle(FileSystem& files, const JournalEntry& entry) {
    if (fileHash(files, entry.path) != entry.afterHash) {
        return entry.path + " was changed after the run (by another program or person)";
    }
    if (entry.beforeHash && fileHash(files, entry.backupPath) != entry.beforeHash) {
        return "the copy " + entry.backupPath + " of " + entry.path + " is missing or was changed";
    }
    return {};
}

}  // namespace

RestoreReport restoreLatestRun(FileSystem& files, const std::string& journalPath) {
    RestoreReport report;
    std::optional<RunJournal> journal;
    try {
        journal = readRunJournal(files, journalPath);
    } catch (const PlatformError& error) {
        report.lines.push_back("Cannot read the run journal " + journalPath + ": " +
                               error.description());
        return report;
    } catch (const std::runtime_error& error) {
        report.lines.push_back(std::string("Cannot restore: ") + error.what() + ".");
        return report;
    }
    if (!journal || journal->entries.empty()) {
        report.lines.push_back("Nothing to restore: no run journal at " + journalPath + ".");
        return report;
    }

    std::vector<std::string> obstacles;
    for (const auto& entry : journal->entries) {
        try {
            if (auto reason = obstacle(files, entry); !reason.empty()) obstacles.push_back(reason);
        } catch (const PlatformError& error) {
            obstacles.push_back(entry.path + " cannot be read: " + error.description());
        }
    }
    if (!obstacles.empty()) {
        report.lines.push_back("Refused to restore the run of " + journal->runStamp +
                               "; nothing was changed:");
        for (const auto& reason : obstacles) report.lines.push_back("  " + reason + ".");
        return report;
    }

    report.restored = true;
    for (const auto& entry : journal->entries) {
        try {
            if (entry.beforeHash) {
                files.CopyFile(entry.backupPath, entry.path, true);
                report.lines.push_back("Restored " + entry.path + " from " + entry.backupPath +
                                       ".");
            } else {
                files.DeleteFile(entry.path);
                report.lines.push_back("Removed " + entry.path + ", which the run created.");
            }
        } catch (const PlatformError& error) {
            report.restored = false;
            report.lines.push_back("Could not restore " + entry.path + ": " + error.description());
        }
    }
    if (report.restored) {
        try {
            files.DeleteFile(journalPath);
        } catch (const PlatformError& error) {
            report.lines.push_back("Could not remove the run journal " + journalPath + ": " +
                                   error.description());
        }
    }
    report.lines.insert(report.lines.begin(),
                        "Restoring the files of the run of " + journal->runStamp + ":");
    report.lines.push_back(kNotUndone);
    return report;
}

}  // namespace tessaron
