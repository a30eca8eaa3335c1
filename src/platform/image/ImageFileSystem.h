#pragma once

#include "platform/FileSystem.h"
#include "platform/image/ImagePaths.h"

namespace tessaron {

// The file system over Windows paths, kept in the image's drive folders, with
// the scripting runtime's error numbers and texts. An entry whose owner-write
// bit is clear is read-only (checked here, since root ignores the bit).
class ImageFileSystem : public FileSystem {
public:
    explicit ImageFileSystem(const ImagePaths& paths) : paths_(paths) {}

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
    void ReadFileBytes(const std::string& path, const BytesConsumer& consume) override;

private:
    const ImagePaths& paths_;
};

// True when the entry's owner-write permission bit is clear.
bool isReadOnlyEntry(const std::filesystem::path& hostPath);

}  // namespace tessaron
