#include "platform/image/FileDescriptors.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tessaron::file_descriptors {

#ifdef _WIN32

namespace {
HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}
}  // namespace

int openFile(const std::filesystem::path& file, int flags, unsigned mode) {
    if ((flags & (O_WRONLY | O_RDWR)) == 0) {
        // Readers share deletion, so that a save can rename a new file over
        // one that is still open for reading, as on POSIX systems.
        const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
            return -1;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
        if (fd < 0) CloseHandle(handle);
        return fd;
    }
    return _wopen(file.c_str(), flags | _O_BINARY | _O_NOINHERIT, static_cast<int>(mode));
}
int closeFile(int fd) {
    return _close(fd);
}
long long readSome(int fd, void* buffer, std::size_t length) {
    return _read(fd, buffer, static_cast<unsigned>(length));
}
long long writeSome(int fd, const void* buffer, std::size_t length) {
    return _write(fd, buffer, static_cast<unsigned>(length));
}

long long readAt(int fd, void* buffer, std::size_t length, std::int64_t offset) {
    const HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    // A read at an explicit offset moves the handle's position; keep it.
    LARGE_INTEGER zero{}, position{};
    SetFilePointerEx(handle, zero, &position, FILE_CURRENT);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    DWORD count = 0;
    const BOOL ok = ReadFile(handle, buffer, static_cast<DWORD>(length), &count, &at);
    const DWORD error = ok ? 0 : GetLastError();
    SetFilePointerEx(handle, position, nullptr, FILE_BEGIN);
    if (!ok) {
        if (error == ERROR_HANDLE_EOF) return 0;
        errno = EIO;
        return -1;
    }
    return count;
}

long long copyInKernel(int, std::int64_t*, int, std::size_t) {
    errno = ENOSYS;
    return -1;
}

bool stampOf(int fd, FileStamp& stamp) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handleOf(fd), &info)) return false;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const auto time = (static_cast<std::int64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                      info.ftLastWriteTime.dwLowDateTime;
    stamp.seconds = time / 10000000;
    stamp.fraction = time % 10000000;
    return true;
}

bool stampOfPath(const std::filesystem::path& file, FileStamp& stamp) {
    const int fd = openFile(file, O_RDONLY);
    if (fd < 0) return false;
    const bool stamped = stampOf(fd, stamp);
    closeFile(fd);
    return stamped;
}

bool modeOf(const std::filesystem::path& file, unsigned& mode) {
    struct _stat64 info {};
    if (_wstat64(file.c_str(), &info) != 0) return false;
    mode = info.st_mode;
    return true;
}

void setMode(int, const std::filesystem::path& file, unsigned mode) {
    _wchmod(file.c_str(), static_cast<int>(mode & (_S_IREAD | _S_IWRITE)));
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return false;
}

void removeFile(const std::filesystem::path& file) {
    _wunlink(file.c_str());
}

bool isReadOnly(const std::filesystem::path& entry) {
    const DWORD attributes = GetFileAttributesW(entry.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

#else

namespace {
FileStamp stampFrom(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}
}  // namespace

int openFile(const std::filesystem::path& file, int flags, unsigned mode) {
    return ::open(file.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
}
int closeFile(int fd) {
    return ::close(fd);
}
long long readSome(int fd, void* buffer, std::size_t length) {
    return ::read(fd, buffer, length);
}
long long writeSome(int fd, const void* buffer, std::size_t length) {
    return ::write(fd, buffer, length);
}
long long readAt(int fd, void* buffer, std::size_t length, std::int64_t offset) {
    return ::pread(fd, buffer, length, static_cast<off_t>(offset));
}
long long copyInKernel(int from, std::int64_t* offset, int to, std::size_t length) {
    off_t at = static_cast<off_t>(*offset);
    const auto count = ::copy_file_range(from, &at, to, nullptr, length, 0);
    *offset = at;
    return count;
}

bool stampOf(int fd, FileStamp& stamp) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return false;
    stamp = stampFrom(info);
    return true;
}

bool stampOfPath(const std::filesystem::path& file, FileStamp& stamp) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return false;
    stamp = stampFrom(info);
    return true;
}

bool modeOf(const std::filesystem::path& file, unsigned& mode) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return false;
    mode = info.st_mode;
    return true;
}

void setMode(int fd, const std::filesystem::path&, unsigned mode) {
    ::fchmod(fd, static_cast<mode_t>(mode));
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void removeFile(const std::filesystem::path& file) {
    ::unlink(file.c_str());
}

bool isReadOnly(const std::filesystem::path& entry) {
    struct stat info {};
    if (::stat(entry.c_str(), &info) != 0) return false;
    return (info.st_mode & S_IWUSR) == 0;
}

#endif

}  // namespace tessaron::file_descriptors
