#include "platform/image/metabase/MetabaseOriginal.h"

#include <fcntl.h>
#ifndef _WIN32
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

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

#ifndef _WIN32
// Copies through a buffer, where the kernel cannot copy between the files.
bool copyThroughBuffer(int source, int target, std::int64_t offset, std::size_t length) {
    std::string buffer(std::min<std::size_t>(length, 1 << 20), '\0');
    while (length > 0) {
        const auto count =
            fd_io::readAt(source, buffer.data(), std::min(length, buffer.size()), offset);
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
#endif

}  // namespace

#ifdef _WIN32
// Windows has no anonymous mappings of this kind; the heap serves.
FileText::FileText(std::size_t capacity) {
    data_ = static_cast<char*>(std::malloc(capacity));  // not zeroed: every byte used is read
    if (!data_) {
        errno = ENOMEM;
        return;
    }
    capacity_ = capacity;
}

FileText::~FileText() {
    std::free(data_);
}
#else
FileText::FileText(std::size_t capacity) {
    void* mapped =
        ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return;  // errno tells why
    // Large pages where the system gives them on request, then every page
    // at once (kernels before 5.14 take them as the text is read).
    ::madvise(mapped, capacity, MADV_HUGEPAGE);
    ::madvise(mapped, capacity, MADV_POPULATE_WRITE);
    data_ = static_cast<char*>(mapped);
    capacity_ = capacity;
}

FileText::~FileText() {
    if (data_) ::munmap(data_, capacity_);
}
#endif

FileText::FileText(FileText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

FileText& FileText::operator=(FileText&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    return *this;
}

std::unique_ptr<MetabaseOriginal> MetabaseOriginal::read(const std::filesystem::path& file,
                                                         FileText& text, std::size_t& size) {
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
    text = FileText(static_cast<std::size_t>(stamp.size) + 1);
    if (!text.data()) return fail();
    size = 0;
    while (true) {
        if (size == text.capacity()) {  // the file grew while it was read
            FileText larger(text.capacity() * 2);
            if (!larger.data()) return fail();
            std::memcpy(larger.data(), text.data(), size);
            text = std::move(larger);
        }
        const auto count = fd_io::readSome(fd, text.data() + size, text.capacity() - size);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return fail();
        if (count == 0) break;
        size += static_cast<std::size_t>(count);
    }
    std::unique_ptr<MetabaseOriginal> original(new MetabaseOriginal(fd, file, size, stamp));
#ifdef _WIN32
    original->snapshot_.assign(text.data(), size);
    fd_io::closeFile(fd);
    original->fd_ = -1;
#endif
    return original;
}

MetabaseOriginal::~MetabaseOriginal() {
    if (fd_ >= 0) fd_io::closeFile(fd_);
}

std::string MetabaseOriginal::bytes(std::size_t offset, std::size_t length) const {
    offset = std::min(offset, size_);
    length = std::min(length, size_ - offset);
#ifdef _WIN32
    return snapshot_.substr(offset, length);
#else
    std::string out(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const auto count = fd_io::readAt(fd_, out.data() + done, length - done,
                                         static_cast<std::int64_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        done += static_cast<std::size_t>(count);
    }
    out.resize(done);
    return out;
#endif
}

bool MetabaseOriginal::copyTo(int target, std::size_t offset, std::size_t length) const {
#ifdef _WIN32
    if (offset + length > snapshot_.size()) {
        errno = EIO;
        return false;
    }
    return writeAll(target, snapshot_.data() + offset, length);
#else
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
#endif
}

bool MetabaseOriginal::unchanged() const {
    fd_io::FileStamp named;
    // No file under the name: removed or renamed away.
    return fd_io::stampOfPath(file_, named) && named == named_;
}

void MetabaseOriginal::savedOver() {
    fd_io::FileStamp named;
    if (fd_io::stampOfPath(file_, named)) named_ = named;
}

}  // namespace tessaron
