#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/image/FileDescriptors.h"

namespace tessaron {

// MetaBase.xml as it was read.
//
// The store parses the file's text in place, which changes that text, so the
// bytes of the keys it leaves unchanged come from the file itself when it
// saves: the file stays open from reading to the last save. When another
// program has written into the file since it was read, those bytes are no
// longer there, and a save is refused rather than spliced from other text.
// (A file replaced by renaming keeps the bytes read: the open file is the old
// one.)
//
// Windows refuses to rename a file over one that is open, so there the bytes
// read are kept in memory instead, the file is closed after reading, and a
// change is told by the file's size and time, taken again after each save of
// this program.
class MetabaseOriginal {
public:
    // Opens the file and reads all of it into `text` (`size` bytes). Returns
    // null with errno set when it cannot be opened or read.
    static std::unique_ptr<MetabaseOriginal> read(const std::filesystem::path& file,
                                                  std::unique_ptr<char[]>& text, std::size_t& size);
    ~MetabaseOriginal();
    MetabaseOriginal(const MetabaseOriginal&) = delete;
    MetabaseOriginal& operator=(const MetabaseOriginal&) = delete;

    std::size_t size() const { return size_; }

    // The bytes [offset, offset + length) as read; fewer when the file has
    // shrunk since.
    std::string bytes(std::size_t offset, std::size_t length) const;
    // Appends the bytes [offset, offset + length) to the open file `target`.
    // False with errno set when they cannot all be copied.
    bool copyTo(int target, std::size_t offset, std::size_t length) const;
    // True while the file still has the size and modification time it had
    // when it was read.
    bool unchanged() const;
    // Takes note that this program has just replaced the file by a save.
    void noteSaved();

private:
    MetabaseOriginal(int fd, std::size_t size, file_descriptors::FileStamp stamp)
        : fd_(fd), size_(size), stamp_(stamp) {}

    int fd_;
    std::size_t size_;
    file_descriptors::FileStamp stamp_;
#ifdef _WIN32
    std::string snapshot_;
    std::filesystem::path file_;
#endif
};

}  // namespace tessaron
