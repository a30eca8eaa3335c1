#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/image/FileDescriptors.h"

namespace tessaron {

// Memory for a file's text, mapped with all its pages in one call: the text
// of a large metabase is megabytes, and taking them page by page as they are
// first written costs as much as the parse.
class FileText {
public:
    FileText() = default;
    // Null data (errno set) when the memory cannot be had.
    explicit FileText(std::size_t capacity);
    ~FileText();
    FileText(FileText&& other) noexcept;
    FileText& operator=(FileText&& other) noexcept;

    char* data() const { return data_; }
    std::size_t capacity() const { return capacity_; }

private:
    char* data_ = nullptr;
    std::size_t capacity_ = 0;
};

// MetaBase.xml as it was read.
//
// The store parses the file's text in place, which changes that text, so the
// bytes of the keys it leaves unchanged come from the file itself when it
// saves: the file stays open from reading to the last save. When another
// program has written into the file since it was read, those bytes are no
// longer there, and a save is refused rather than spliced from other text.
// A file replaced by renaming (as IIS saves) is another program's change as
// well: saving over it would drop that change, so it is refused the same way.
//
// Windows refuses to rename a file over one that is open, so there the bytes
// read are kept in memory instead and the file is closed after reading; a
// change is still told by the named file's identity, size and time.
class MetabaseOriginal {
public:
    // Opens the file and reads all of it into `text` (`size` bytes). Returns
    // null with errno set when it cannot be opened or read.
    static std::unique_ptr<MetabaseOriginal> read(const std::filesystem::path& file, FileText& text,
                                                  std::size_t& size);
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
    // True while the file's name still leads to the file last read or saved
    // by this store, with the size and modification time it had then.
    bool unchanged() const;
    // The store has just saved a new file under the name: that file is the
    // one later saves compare against. The bytes read stay those of the file
    // that was read, which stays open.
    void savedOver();

private:
    MetabaseOriginal(int fd, std::filesystem::path file, std::size_t size,
                     file_descriptors::FileStamp named)
        : fd_(fd), file_(std::move(file)), size_(size), named_(named) {}

    int fd_;
    std::filesystem::path file_;
    std::size_t size_;
    // What tells one state of the named file from another.
    file_descriptors::FileStamp named_;
#ifdef _WIN32
    std::string snapshot_;
#endif
};

}  // namespace tessaron
