#pragma once

#include "platform/FileSystem.h"

namespace tessaron::platform::windows {

// Files and folders through Windows' wide-character functions, with the
// scripting runtime's error numbers and texts; text files in the ANSI code
// page 1252 with CR LF line ends.
class WindowsFileSystem : public FileSystem {
public:
    bool FolderExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void CopyFile(const std::string& source, const std::string& destination,
                  bool overwrite) override;
    // Replaces the destination in one step, written through to the disk, so
    // the former file stays whole when the move fails.
    void ReplaceFile(const std::string& source, const std::string& destination) override;
    void DeleteFile(const std::string& path) override;
    std::vector<std::string> SubFolders(const std::string& path) override;
    std::vector<std::string> FileNames(const std::string& path) override;
    std::unique_ptr<TextWriter> CreateTextFile(const std::string& path, bool overwrite) override;
    std::unique_ptr<TextWriter> OpenTextFileForAppending(const std::string& path) override;
    std::string ReadTextFile(const std::string& path) override;
    void ReadFileBytes(const std::string& path, const BytesConsumer& consume) override;
};

}  // namespace tessaron::platform::windows
