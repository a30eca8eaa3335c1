#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaron {

// One file a run changed: its hash before and after the run (nullopt: the
// file did not exist) and the copy of its former bytes (empty when there was
// no former file).
struct JournalEntry {
    std::string path;
    std::optional<std::string> beforeHash;
    std::string backupPath;
    std::optional<std::string> afterHash;
};

// The journal of the latest run that changed config.inc or the metabase:
// enough to put both files back as they were before it.
struct RunJournal {
    std::string runStamp;  // "20261208-131500"
    std::vector<JournalEntry> entries;
};

// Where the journal of the panel installed in installDir lives.
std::string runJournalPath(const std::string& installDir);

// Writes the journal in place of the former one, which stays as it was when
// the new one cannot be written whole; throws PlatformError.
void writeRunJournal(FileSystem& files, const std::string& path, const RunJournal& journal);
// Reads a journal; nullopt when there is none. Throws PlatformError when it
// cannot be read and std::runtime_error when its text is not a journal's or
// it was written by an older version of the program, whose file hashes this
// one cannot compare.
std::optional<RunJournal> readRunJournal(FileSystem& files, const std::string& path);

// The hash of a file's bytes (ContentHash), read piece by piece; nullopt
// when it does not exist. Throws PlatformError when it exists but cannot be
// read.
std::optional<std::string> fileHash(FileSystem& files, const std::string& path);

}  // namespace tessaron
