#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaron::dry_run {

// A file system that reads through to another one and keeps every change in
// memory: folders created, files written, appended to, copied, replaced and
// deleted. The other file system is only read. Failures follow the scripting
// runtime's rules as the backends report them (a missing parent is "Path not
// found", an existing entry "File already exists"); what only the other
// file system could tell (a read-only entry, a full disk) is not foreseen.
class DryRunFiles : public FileSystem {
public:
    explicit DryRunFiles(FileSystem& inner);
    ~DryRunFiles() override;

    bool FolderExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void CopyFile(const std::string& source, const std::string& destination,
                  bool overwrite) override;
    void ReplaceFile(const std::string& source, const std::string& destination) override;
    void DeleteFile(const std::string& path) override;
    std::vector<std::string> SubFolders(const std::string& path) override;
    std::vector<std::string> FileNames(const std::string& path) override;
    std::unique_ptr<TextWriter> CreateTextFile(const std::string& path, bool overwrite) override;
    std::unique_ptr<TextWriter> OpenTextFileForAppending(const std::string& path) override;
    std::string ReadTextFile(const std::string& path) override;

    // What the dry run changed, by Windows path as the run spelt it, in the
    // order of the changes.
    std::vector<std::string> foldersCreated() const;
    // Files that did not exist before and do now.
    std::vector<std::string> filesCreated() const;
    // Files that existed before and now hold other text.
    std::vector<std::string> filesChanged();
    // A file's text before the dry run and now; nullopt where there is none.
    std::optional<std::string> textBefore(const std::string& path);
    std::optional<std::string> textNow(const std::string& path);

private:
    struct Entry;
    class Writer;
    Entry* find(const std::string& path);
    Entry& fileEntry(const std::string& path);
    std::string contentOf(const Entry& entry);
    std::vector<std::string> childNames(const std::string& path, bool folders);

    FileSystem& inner_;
    std::map<std::string, Entry> entries_;  // by folded path
    std::size_t changes_ = 0;
};

}  // namespace tessaron::dry_run
