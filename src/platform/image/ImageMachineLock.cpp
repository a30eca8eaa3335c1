#include "platform/image/ImageMachineLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "platform/Failure.h"

namespace tessaron {
namespace {

constexpr const char* kLockFileName = ".tessaron-run.lock";
constexpr auto kRetryInterval = std::chrono::milliseconds(50);

#ifdef _WIN32
// On Windows the lock is a byte-range lock of the whole file (LockFileEx),
// held by the open handle and released with it however the process ends.
class ImageMachineLock : public MachineLock {
public:
    explicit ImageMachineLock(HANDLE file) : file_(file) {}
    ~ImageMachineLock() override { CloseHandle(file_); }
    ImageMachineLock(const ImageMachineLock&) = delete;
    ImageMachineLock& operator=(const ImageMachineLock&) = delete;

private:
    HANDLE file_;
};

[[noreturn]] void lockFileFailed(const std::filesystem::path& file, const char* what, DWORD error) {
    throw PlatformError(error_number::kPermissionDenied,
                        "The lock file " + file.string() + " could not be " + what +
                            " (Windows error " + std::to_string(error) + ").");
}

}  // namespace

std::unique_ptr<MachineLock> lockMachineImage(const std::filesystem::path& root,
                                              std::chrono::milliseconds patience) {
    const auto file = root / kLockFileName;
    // A link in the lock file's place is opened as itself, never followed,
    // and refused.
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) lockFileFailed(file, "opened", GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        CloseHandle(handle);
        throw PlatformError(error_number::kPermissionDenied,
                            "The lock file " + file.string() +
                                " could not be opened (it is a link to another file).");
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                       MAXDWORD, &whole)) {
            return std::make_unique<ImageMachineLock>(handle);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(handle);
            if (error == ERROR_LOCK_VIOLATION) return nullptr;
            lockFileFailed(file, "locked", error);
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

#else

class ImageMachineLock : public MachineLock {
public:
    explicit ImageMachineLock(int fd) : fd_(fd) {}
    // Closing the file releases the lock. The file stays: removing it would
    // let a waiting run lock a file that a third run no longer sees.
    ~ImageMachineLock() override { ::close(fd_); }
    ImageMachineLock(const ImageMachineLock&) = delete;
    ImageMachineLock& operator=(const ImageMachineLock&) = delete;

private:
    int fd_;
};

}  // namespace

std::unique_ptr<MachineLock> lockMachineImage(const std::filesystem::path& root,
                                              std::chrono::milliseconds patience) {
    const auto file = root / kLockFileName;
    // A link in the lock file's place is never followed: the run must not
    // create or lock a file outside the image.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        const std::string reason =
            errno == ELOOP ? "it is a symbolic link to another file" : std::strerror(errno);
        throw PlatformError(
            error_number::kPermissionDenied,
            "The lock file " + file.string() + " could not be opened (" + reason + ").");
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            if (error == EWOULDBLOCK) return nullptr;
            throw PlatformError(error_number::kPermissionDenied, "The lock file " + file.string() +
                                                                     " could not be locked (" +
                                                                     std::strerror(error) + ").");
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    return std::make_unique<ImageMachineLock>(fd);
}

#endif

}  // namespace tessaron
