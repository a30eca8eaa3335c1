#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "run/RunJournal.h"
#include "runcontext/ProgressLog.h"

namespace tessaron {

// The files a run replaces and where their former versions go.
struct BackupPlaces {
    std::string configFile;     // InstallDir\panel\config.inc
    std::string metabaseFile;   // %SystemRoot%\system32\inetsrv\MetaBase.xml
    std::string historyFolder;  // %SystemRoot%\system32\inetsrv\History
    std::string journalFile;    // runJournalPath(InstallDir)
};

// How many former versions of each file are kept.
inline constexpr std::size_t kKeptBackups = 10;

// Keeps the former config.inc and metabase of one run, so that the run can be
// undone file by file: before the first change of either file the run calls
// beforeChanging, which copies the file as it is (config.inc beside itself as
// "config.inc.<date-time>.bak", the metabase into the History folder as
// "MetaBase_<major>_<minor>.xml", as IIS names its history) and keeps the
// last ten of each. finish() writes the run journal of the files that really
// changed and drops the copies of files the run left as they were.
//
// A copy that cannot be made does not stop the run: the progress log gets a
// WARNING line and the file is changed without a way back.
class RunBackups {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    RunBackups(FileSystem& files, BackupPlaces places, ProgressLog& log, Clock now);

    // True for config.inc and the metabase (Windows paths, any case).
    bool watches(const std::string& path) const;
    // Keeps the former file once per run; other paths are ignored.
    void beforeChanging(const std::string& path);
    // The change of a watched file failed (a metabase save that was given
    // up): its copy stays even though the file is as it was.
    void changeFailed(const std::string& path);
    // After the run's last change (the metabase saved).
    void finish();
    // Why the run cannot be undone by a restore (a copy that could not be
    // kept, a journal that could not be written); empty when it can, or
    // when it changed nothing.
    const std::string& whyNotUndoable() const { return notUndoable_; }

    const BackupPlaces& places() const { return places_; }

private:
    struct Kept {
        JournalEntry entry;
        bool copied = false;
        bool failed = false;  // the change itself failed; the copy stays
    };
    std::string keepConfigFile();
    std::string keepMetabase();
    void pruneConfigBackups();
    void pruneHistory();
    Kept* find(const std::string& path);

    FileSystem& files_;
    BackupPlaces places_;
    ProgressLog& log_;
    Clock now_;
    std::string stamp_;
    std::vector<Kept> kept_;
    std::string notUndoable_;
};

// The date-time text of backup names ("20261208-131500", local time).
std::string backupStamp(std::chrono::system_clock::time_point when);

}  // namespace tessaron
