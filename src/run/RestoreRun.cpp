#include "run/RestoreRun.h"

#include <stdexcept>

#include "platform/Failure.h"
#include "run/RunJournal.h"

namespace tessaron {
namespace {

const char* const kNotUndone =
    "Not undone (a restore puts back config.inc and the metabase only): scheduled tasks, "
    "database rows, folders created, files copied into the WBEM folder, changes of "
    "registry.reg and the lines of commands.log.";

// "20261208-131500" as "2026-12-08 13:15:00"; other text as it is.
std::string runDate(const std::string& stamp) {
    if (stamp.size() != 15 || stamp[8] != '-') return stamp;
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
}

RestoreReport ended(RestoreResult result, std::string line) {
    RestoreReport report;
    report.result = result;
    report.restored = result == RestoreResult::Restored;
    report.lines.push_back(std::move(line));
    return report;
}

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
    std::optional<RunJournal> journal;
    try {
        journal = readRunJournal(files, journalPath);
    } catch (const PlatformError& error) {
        return ended(RestoreResult::Failed,
                     "Cannot read the run journal " + journalPath + ": " + error.description());
    } catch (const std::runtime_error& error) {
        return ended(RestoreResult::Failed, std::string("Cannot restore: ") + error.what() + ".");
    }
    if (!journal || journal->entries.empty()) {
        return ended(RestoreResult::NothingToRestore,
                     "Nothing to restore: no run journal at " + journalPath + ".");
    }
    const std::string date = runDate(journal->runStamp);

    std::vector<std::string> obstacles;
    for (const auto& entry : journal->entries) {
        try {
            if (auto reason = obstacle(files, entry); !reason.empty()) obstacles.push_back(reason);
        } catch (const PlatformError& error) {
            obstacles.push_back(entry.path + " cannot be read: " + error.description());
        }
    }
    if (!obstacles.empty()) {
        RestoreReport report = ended(RestoreResult::Refused, "Refused to restore the run of " +
                                                                 date + "; nothing was changed:");
        for (const auto& reason : obstacles) report.lines.push_back("  " + reason + ".");
        return report;
    }

    RestoreReport report;
    report.result = RestoreResult::Restored;
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
            report.result = RestoreResult::Failed;
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
    // The journal is the latest run's that changed a file, which need not
    // be the latest run: the date says which one this is.
    report.lines.insert(report.lines.begin(), "Restoring the files of the run of " + date +
                                                  " (the latest run that changed them):");
    report.lines.push_back(kNotUndone);
    return report;
}

}  // namespace tessaron
