#include "run/RunBackups.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <tuple>

#include "platform/Failure.h"
#include "platform/WindowsPath.h"

namespace tessaron {
namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "config.inc.20261208-131500.bak" or, for a second copy within the same
// second, "config.inc.20261208-131500-1.bak": ordered by stamp, then number.
std::optional<std::tuple<std::string, int>> configBackupKey(const std::string& prefix,
                                                            const std::string& name) {
    const std::string suffix = ".bak";
    if (name.size() <= prefix.size() + suffix.size() ||
        !equalsIgnoreCase(name.substr(0, prefix.size()), prefix) ||
        !equalsIgnoreCase(name.substr(name.size() - suffix.size()), suffix)) {
        return std::nullopt;
    }
    const std::string middle =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (middle.size() < 15 || !allDigits(middle.substr(0, 8)) || middle[8] != '-' ||
        !allDigits(middle.substr(9, 6))) {
        return std::nullopt;
    }
    if (middle.size() == 15) return std::make_tuple(middle, 0);
    if (middle[15] != '-' || !allDigits(middle.substr(16))) return std::nullopt;
    return std::make_tuple(middle.substr(0, 15), std::stoi(middle.substr(16)));
}

// "MetaBase_0000000014_0000000002.xml" -> (14, 2).
std::optional<std::pair<long long, long long>> historyVersion(const std::string& name) {
    if (name.size() != 34 || !equalsIgnoreCase(name.substr(0, 9), "MetaBase_") || name[19] != '_' ||
        !equalsIgnoreCase(name.substr(30), ".xml") || !allDigits(name.substr(9, 10)) ||
        !allDigits(name.substr(20, 10))) {
        return std::nullopt;
    }
    return std::make_pair(std::stoll(name.substr(9, 10)), std::stoll(name.substr(20, 10)));
}

constexpr std::string_view kHistoryMajorProperty = "HistoryMajorVersionNumber=\"";

// The HistoryMajorVersionNumber in the metabase's text.
long long historyMajorVersion(std::string_view metabaseText) {
    const auto at = metabaseText.find(kHistoryMajorProperty);
    if (at == std::string::npos) return 0;
    long long value = 0;
    for (auto index = at + kHistoryMajorProperty.size(); index < metabaseText.size(); ++index) {
        const char c = metabaseText[index];
        if (c < '0' || c > '9' || value > 999999999) break;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The metabase's HistoryMajorVersionNumber, which IIS names its own copies
// by. IIS writes it into the file's first key, so the file is read only up
// to the value (of at most ten digits), and only the end of what has been
// read is kept while the property has not shown.
long long historyMajorVersion(FileSystem& files, const std::string& metabaseFile) {
    std::string read;
    files.ReadFileBytes(metabaseFile, [&](std::string_view piece) {
        read.append(piece);
        const auto at = read.find(kHistoryMajorProperty);
        if (at == std::string::npos) {
            read.erase(0, read.size() - std::min(read.size(), kHistoryMajorProperty.size() - 1));
            return true;
        }
        return read.size() - at - kHistoryMajorProperty.size() <= 10;
    });
    return historyMajorVersion(read);
}

std::string historyName(long long major, long long minor) {
    char name[64];
    std::snprintf(name, sizeof name, "MetaBase_%010lld_%010lld.xml", major, minor);
    return name;
}

}  // namespace

std::string backupStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

RunBackups::RunBackups(FileSystem& files, BackupPlaces places, ProgressLog& log, Clock now)
    : files_(files), places_(std::move(places)), log_(log), now_(std::move(now)) {}

bool RunBackups::watches(const std::string& path) const {
    return equalsIgnoreCase(path, places_.configFile) ||
           equalsIgnoreCase(path, places_.metabaseFile);
}

RunBackups::Kept* RunBackups::find(const std::string& path) {
    for (auto& kept : kept_) {
        if (equalsIgnoreCase(kept.entry.path, path)) return &kept;
    }
    return nullptr;
}

void RunBackups::beforeChanging(const std::string& path) {
    if (!watches(path) || find(path)) return;
    const bool config = equalsIgnoreCase(path, places_.configFile);
    Kept kept;
    kept.entry.path = config ? places_.configFile : places_.metabaseFile;
    try {
        kept.entry.beforeHash = fileHash(files_, kept.entry.path);
        if (kept.entry.beforeHash) {
            kept.entry.backupPath = config ? keepConfigFile() : keepMetabase();
            kept.copied = true;
        }
    } catch (const PlatformError& error) {
        log_.AddProgressText("WARNING: Could not keep a copy of " + kept.entry.path + " - " +
                             error.description());
        notUndoable_ = "no copy of " + kept.entry.path + " could be kept";
        kept.entry.beforeHash.reset();
        kept.entry.backupPath.clear();
        kept.copied = false;
        // Without a copy the change cannot be undone: the file stays out of
        // the journal.
        kept.entry.path.clear();
    }
    kept_.push_back(std::move(kept));
}

void RunBackups::changeFailed(const std::string& path) {
    if (Kept* kept = find(path)) kept->failed = true;
}

std::string RunBackups::keepConfigFile() {
    if (stamp_.empty()) stamp_ = backupStamp(now_());
    const std::string base = places_.configFile + "." + stamp_;
    std::string backup = base + ".bak";
    for (int number = 1; files_.FileExists(backup); ++number) {
        backup = base + "-" + std::to_string(number) + ".bak";
    }
    files_.CopyFile(places_.configFile, backup, false);
    return backup;
}

std::string RunBackups::keepMetabase() {
    const std::string& folder = places_.historyFolder;
    if (!files_.FolderExists(folder)) files_.CreateFolder(folder);
    const long long major = historyMajorVersion(files_, places_.metabaseFile);
    long long minor = -1;
    for (const auto& name : files_.FileNames(folder)) {
        const auto version = historyVersion(name);
        if (version && version->first == major) minor = std::max(minor, version->second);
    }
    const std::string backup = folder + "\\" + historyName(major, minor + 1);
    files_.CopyFile(places_.metabaseFile, backup, false);
    return backup;
}

void RunBackups::pruneConfigBackups() {
    const std::string folder = pathFolder(places_.configFile);
    const std::string prefix = lastPathPart(places_.configFile) + ".";
    std::vector<std::pair<std::tuple<std::string, int>, std::string>> backups;
    for (const auto& name : files_.FileNames(folder)) {
        if (auto key = configBackupKey(prefix, name)) backups.emplace_back(*key, name);
    }
    std::sort(backups.begin(), backups.end());
    while (backups.size() > kKeptBackups) {
        files_.DeleteFile(folder + "\\" + backups.front().second);
        backups.erase(backups.begin());
    }
}

void RunBackups::pruneHistory() {
    std::vector<std::pair<std::pair<long long, long long>, std::string>> copies;
    for (const auto& name : files_.FileNames(places_.historyFolder)) {
        if (auto version = historyVersion(name)) copies.emplace_back(*version, name);
    }
    std::sort(copies.begin(), copies.end());
    while (copies.size() > kKeptBackups) {
        files_.DeleteFile(places_.historyFolder + "\\" + copies.front().second);
        copies.erase(copies.begin());
    }
}

void RunBackups::finish() {
    RunJournal journal;
    journal.runStamp = stamp_.empty() ? backupStamp(now_()) : stamp_;
    for (auto& kept : kept_) {
        if (kept.entry.path.empty()) continue;
        try {
            kept.entry.afterHash = fileHash(files_, kept.entry.path);
        } catch (const PlatformError&) {
            kept.entry.afterHash = std::string("unreadable");
        }
        if (kept.entry.afterHash == kept.entry.beforeHash) {
            // Saved without a change: nothing to undo, and the copy would
            // only push an older one out of the last ten.
            if (kept.copied && !kept.failed) {
                try {
                    files_.DeleteFile(kept.entry.backupPath);
                } catch (const PlatformError&) {
                }
            }
            continue;
        }
        journal.entries.push_back(kept.entry);
        // The older copies go only once this one is known to matter.
        try {
            if (kept.entry.path == places_.configFile) {
                pruneConfigBackups();
            } else {
                pruneHistory();
            }
        } catch (const PlatformError& error) {
            log_.AddProgressText("WARNING: Could not remove older copies of " + kept.entry.path +
                                 " - " + error.description());
        }
    }
    // A run that changed nothing leaves the journal of the run before it.
    if (journal.entries.empty()) return;
    try {
        writeRunJournal(files_, places_.journalFile, journal);
    } catch (const PlatformError& error) {
        log_.AddProgressText("WARNING: Could not write the run journal " + places_.journalFile +
                             " - " + error.description());
        notUndoable_ = "its run journal could not be written";
    }
}

}  // namespace tessaron
