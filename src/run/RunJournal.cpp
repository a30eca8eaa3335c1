#include "run/RunJournal.h"

#include <stdexcept>

#include "platform/Failure.h"
#include "platform/TemporaryNames.h"
#include "platform/WindowsPath.h"
#include "run/Sha256.h"

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
        journal.entries.push_back({fields[0], hashFrom(fields[1]), fields[2], hashFrom(fields[3])});
    }
    return journal;
}

std::optional<std::string> fileHash(FileSystem& files, const std::string& path) {
    if (!files.FileExists(path)) return std::nullopt;
    // The file system hands out text decoded from the code page; the decoding
    // maps every byte string to a text of its own, so equal texts mean equal
    // bytes.
    return sha256Hex(files.ReadTextFile(path));
}

}  // namespace tessaron
