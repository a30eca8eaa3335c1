#include "platform/image/ImageMachineLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/Failure.h"

namespace tessaron {
namespace {

constexpr const char* kLockFileName = ".tessaron-run.lock";
constexpr auto kRetryInterval = std::chrono::milliseconds(50);

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
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw PlatformError(error_number::kPermissionDenied, "The lock file " + file.string() +
                                                                 " could not be opened (" +
                                                                 std::strerror(errno) + ").");
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

}  // namespace tessaron
