#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace tessaron::file_descriptors {

// The few descriptor-level file operations the metabase store needs, on POSIX
// systems and on Windows (where files open in binary mode, reads at an offset
// go through the file's handle and a rename replaces the target in one step).

// Opens with open(2)'s flags (O_RDONLY, O_WRONLY | O_CREAT | O_TRUNC) and
// permission bits; the descriptor is not inherited by child processes.
// Returns -1 with errno set on failure.
int openFile(const std::filesystem::path& file, int flags, unsigned mode = 0);
int closeFile(int fd);
long long readSome(int fd, void* buffer, std::size_t length);
long long writeSome(int fd, const void* buffer, std::size_t length);
// Reads at an offset without moving the shared position; 0 at the end.
long long readAt(int fd, void* buffer, std::size_t length, std::int64_t offset);
// Copies inside the kernel from `from` at *offset to `to`'s position; -1
// with errno ENOSYS where the system has no such call.
long long copyInKernel(int from, std::int64_t* offset, int to, std::size_t length);

// Identity (device and file number), size and modification time of a file,
// to tell whether it changed or another file took its name.
struct FileStamp {
    std::uint64_t device = 0;  // the volume's serial number on Windows
    std::uint64_t file = 0;    // inode, or the file index on Windows
    std::int64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t fraction = 0;  // nanoseconds, or 100-ns units on Windows

    bool operator==(const FileStamp&) const = default;
};
bool stampOf(int fd, FileStamp& stamp);
// The stamp of the file a name leads to now; false when there is none.
bool stampOfPath(const std::filesystem::path& file, FileStamp& stamp);

// Permission bits of a file (S_IWUSR clear: read-only); false when missing.
bool modeOf(const std::filesystem::path& file, unsigned& mode);
// Gives the open file (named `file`) the permission bits.
void setMode(int fd, const std::filesystem::path& file, unsigned mode);
// Renames `from` over `to`, replacing it in one step.
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to);
void removeFile(const std::filesystem::path& file);

// True when the entry's owner-write permission bit is clear; on Windows, when
// the file or folder has the read-only attribute (Windows' folders have no
// write bit).
bool isReadOnly(const std::filesystem::path& entry);

}  // namespace tessaron::file_descriptors
