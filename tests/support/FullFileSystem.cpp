#include "support/FullFileSystem.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <string>

namespace tessaron::testing {

#ifdef _WIN32
// Windows mounts no file system of this kind: never mounted, the tests skip.
FullFileSystem::FullFileSystem(const std::filesystem::path& folder) : folder_(folder) {
    std::filesystem::create_directories(folder_);
}
FullFileSystem::~FullFileSystem() = default;
void FullFileSystem::fill() const {}
#else

FullFileSystem::FullFileSystem(const std::filesystem::path& folder) : folder_(folder) {
    std::filesystem::create_directories(folder_);
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=256k") == 0;
}

FullFileSystem::~FullFileSystem() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void FullFileSystem::fill() const {
    const auto filler = folder_ / ".filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    // A last partial block, so not even one byte is left.
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
}
#endif

}  // namespace tessaron::testing
