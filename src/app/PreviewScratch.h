#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace tessaron::app {

// A throw-away copy of a machine image in a fresh temporary folder, removed
// when the object goes. The copy keeps every file's bytes and read-only bit,
// so a run on it meets what it would meet on the machine.
class PreviewScratch {
public:
    // Throws std::filesystem::filesystem_error when the copy cannot be made.
    explicit PreviewScratch(const std::filesystem::path& image);
    ~PreviewScratch();
    PreviewScratch(const PreviewScratch&) = delete;
    PreviewScratch& operator=(const PreviewScratch&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

// The folders and files of an image folder by their paths relative to the
// root ("/" separated), the files with the hash of their bytes: what tells
// which folders and files a run created or changed.
struct ImageTree {
    std::map<std::string, std::string> files;  // relative path -> SHA-256 of the bytes
    std::map<std::string, bool> folders;       // relative path -> true

    static ImageTree read(const std::filesystem::path& root);
};

}  // namespace tessaron::app
