#include "platform/image/MetabaseOriginal.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessaron {
namespace {

namespace fd_io = file_descriptors;

bool writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const auto count = fd_io::writeSome(fd, data, length);
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += count;
        length -= static_cast<std::size_t>(count);
    }
    return true;
}

// Copies through a buffer, where the kernel cannot copy between the files.
bool copyThroughBuffer(int source, int target, std::int64_t offset, std::size_t length) {
    std::string buffer(std::min<std::size_t>(length, 1 << 20), '\0');
    while (length > 0) {
        const auto count = fd_io::readAt(source, buffer.data(), std::min(length, buffer.size()), offset);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            if (count == 0) errno = EIO;  // the file has shrunk
            return false;
        }
        if (!writeAll(target, buffer.data(), static_cast<std::size_t>(count))) return false;
        offset += count;
        length -= static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

std::unique_ptr<MetabaseOriginal> MetabaseOriginal::read(const std::filesystem::path& file,
                                                         std::unique_ptr<char[]>& text,
                                                         std::size_t& size) {
    const int fd = fd_io::openFile(file, O_RDONLY);
    if (fd < 0) return nullptr;
    const auto fail = [fd] {
        const int error = errno;
        fd_io::closeFile(fd);
        errno = error;
        return nullptr;
    };
    fd_io::FileStamp stamp;
    if (!fd_io::stampOf(fd, stamp)) return fail();

    // One byte more than the size, so the end shows without growing.
    std::size_t capacity = static_cast<std::size_t>(stamp.size) + 1;
    text.reset(new char[capacity]);  // not zeroed: every byte used is read
    size = 0;
    while (true) {
        if (size == capacity) {  // the file grew while it was read
            std::unique_ptr<char[]> larger(new char[capacity * 2]);
            std::memcpy(larger.get(), text.get(), size);
            text = std::move(larger);
            capacity *= 2;
        }
        const auto count = fd_io::readSome(fd, text.get() + size, capacity - size);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return fail();
        if (count == 0) break;
        size += static_cast<std::size_t>(count);
    }
    std::unique_ptr<MetabaseOriginal> original(new MetabaseOriginal(fd, size, stamp));
#ifdef _WIN32
    original->snapshot_.assign(text.get(), size);
    original->file_ = file;
    fd_io::closeFile(fd);
    original->fd_ = -1;
#endif
    return original;
}

#ifdef _WIN32
namespace {
bool stampOfPath(const std::filesystem::path& file, fd_io::FileStamp& stamp) {
    const int fd = fd_io::openFile(file, O_RDONLY);
    if (fd < 0) return false;
    const bool stamped = fd_io::stampOf(fd, stamp);
    fd_io::closeFile(fd);
    return stamped;
}
}  // namespace
#endif

void MetabaseOriginal::noteSaved() {
#ifdef _WIN32
    stampOfPath(file_, stamp_);
#endif
}

MetabaseOriginal::~MetabaseOriginal() {
    if (fd_ >= 0) fd_io::closeFile(fd_);
}

std::string MetabaseOriginal::bytes(std::size_t offset, std::size_t length) const {
    offset = std::min(offset, size_);
    length = std::min(length, size_ - offset);
#ifdef _WIN32
    return snapshot_.substr(offset, length);
#endif
    std::string out(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const auto count =
            fd_io::readAt(fd_, out.data() + done, length - done,
                          static_cast<std::int64_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        done += static_cast<std::size_t>(count);
    }
    out.resize(done);
    return out;
}

bool MetabaseOriginal::copyTo(int target, std::size_t offset, std::size_t length) const {
#ifdef _WIN32
    if (offset + length > snapshot_.size()) {
        errno = EIO;
        return false;
    }
    return writeAll(target, snapshot_.data() + offset, length);
#endif
    auto from = static_cast<std::int64_t>(offset);
    while (length > 0) {
        const auto count = fd_io::copyInKernel(fd_, &from, target, length);
        if (count > 0) {
            length -= static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count == 0) {
            errno = EIO;  // the file has shrunk
            return false;
        }
        // Kernels or file systems that cannot copy between these two files.
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
            errno == EBADF) {
            return copyThroughBuffer(fd_, target, from, length);
        }
        return false;
    }
    return true;
}

bool MetabaseOriginal::unchanged() const {
    fd_io::FileStamp now;
#ifdef _WIN32
    return stampOfPath(file_, now) && now == stamp_;
#else
    return fd_io::stampOf(fd_, now) && now == stamp_;
#endif
}

}  // namespace tessaron
