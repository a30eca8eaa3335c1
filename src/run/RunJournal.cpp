#include "run/RunJournal.h"

#include <stdexcept>

#include "platform/Failure.h"
#include "platform/TemporaryNames.h"
#include "platform/WindowsPath.h"
#include "run/ContentHash.h"

namespace tessaron {
namespace {

// First line of every journal; the rest are "path|before|backup|after", an
// absent file's hash written as "-" (Windows paths cannot hold "|").
const char* const kJournalHeader = "Tessaron configuration run ";
const char* const kNoFile = "-";

std::string hashText(const std::optional<std::string>& hash) {
    return hash ? *hash : kNoFile;
}
std::optional<std::string> hashFrom(const std::string& text) {
    if (text == kNoFile) return std::nullopt;
    return text;
}

// Former versions of the program hashed files with SHA-256 (64 hexadecimal
// digits), which this one does not compute: their journals cannot tell
// whether a file is still as the run left it.
bool formerHash(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

std::string runJournalPath(const std::string& installDir) {
    return withTrailingBackslash(installDir) + "panel\\tessaron-run.journal";
}

void writeRunJournal(FileSystem& files, const std::string& path, const RunJournal& journal) {
    // Written beside the journal and put in its place whole, so that a
    // journal that cannot be written leaves the former one as it was.
    const std::string temporary = temporaryPathBeside(path);
    try {
        auto writer = files.CreateTextFile(temporary, true);
        writer->WriteLine(kJournalHeader + journal.runStamp);
        for (const auto& entry : journal.entries) {
            writer->WriteLine(entry.path + "|" + hashText(entry.beforeHash) + "|" +
                              entry.backupPath + "|" + hashText(entry.afterHash));
        }
        writer->Close();
        files.ReplaceFile(temporary, path);
    } catch (const PlatformError&) {
        try {
            if (files.FileExists(temporary)) files.DeleteFile(temporary);
        } catch (const PlatformError&) {
        }
        throw;
    }
}

std::optional<RunJournal> readRunJournal(FileSystem& files, const std::string& path) {
    if (!files.FileExists(path)) return std::nullopt;
    const std::string text = files.ReadTextFile(path);
    auto lines = splitText(text, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    const std::string header = kJournalHeader;
    if (lines.empty() || lines.front().rfind(header, 0) != 0) {
        throw std::runtime_error(path + " is not a run journal");
    }
    RunJournal journal;
    journal.runStamp = lines.front().substr(header.size());
    for (std::size_t index = 1; index < lines.size(); ++index) {
        const auto fields = splitText(lines[index], "|");
        if (fields.size() != 4) {
            throw std::runtime_error(path + ":" + std::to_string(index + 1) +
                                     ": not a line of a run journal");
        }
        if (formerHash(fields[1]) || formerHash(fields[3])) {
            throw std::runtime_error(path +
                                     " was written by an older version of this program; restore "
                                     "with that version");
        }
        journal.entries.push_back({fields[0], hashFrom(fields[1]), fields[2], hashFrom(fields[3])});
    }
    return journal;
}

std::optional<std::string> fileHash(FileSystem& files, const std::string& path) {
    if (!files.FileExists(path)) return std::nullopt;
    ContentHash hash;
    files.ReadFileBytes(path, [&](std::string_view piece) {
        hash.add(piece);
        return true;
    });
    return hash.text();
}

}  // namespace tessaron
