#include "platform/image/metabase/MetabaseOriginal.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tessaron {
namespace {

bool writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const auto count = ::write(fd, data, length);
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
bool copyThroughBuffer(int source, int target, off_t offset, std::size_t length) {
    std::string buffer(std::min<std::size_t>(length, 1 << 20), '\0');
    while (length > 0) {
        const auto count = ::pread(source, buffer.data(), std::min(length, buffer.size()), offset);
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

FileText::FileText(FileText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

FileText& FileText::operator=(FileText&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    return *this;
}

std::unique_ptr<MetabaseOriginal> MetabaseOriginal::read(const std::filesystem::path& file,
                                                         FileText& text, std::size_t& size) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    const auto fail = [fd] {
        const int error = errno;
        ::close(fd);
        errno = error;
        return nullptr;
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0) return fail();

    // One byte more than the size, so the end shows without growing.
    text = FileText(static_cast<std::size_t>(info.st_size) + 1);
    if (!text.data()) return fail();
    size = 0;
    while (true) {
        if (size == text.capacity()) {  // the file grew while it was read
            FileText larger(text.capacity() * 2);
            if (!larger.data()) return fail();
            std::memcpy(larger.data(), text.data(), size);
            text = std::move(larger);
        }
        const auto count = ::read(fd, text.data() + size, text.capacity() - size);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return fail();
        if (count == 0) break;
        size += static_cast<std::size_t>(count);
    }
    return std::unique_ptr<MetabaseOriginal>(
        new MetabaseOriginal(fd, file, size, identityOf(info)));
}

MetabaseOriginal::~MetabaseOriginal() {
    ::close(fd_);
}

std::string MetabaseOriginal::bytes(std::size_t offset, std::size_t length) const {
    offset = std::min(offset, size_);
    length = std::min(length, size_ - offset);
    std::string out(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const auto count =
            ::pread(fd_, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        done += static_cast<std::size_t>(count);
    }
    out.resize(done);
    return out;
}

bool MetabaseOriginal::copyTo(int target, std::size_t offset, std::size_t length) const {
    auto from = static_cast<off_t>(offset);
    while (length > 0) {
        const auto count = ::copy_file_range(fd_, &from, target, nullptr, length, 0);
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

MetabaseOriginal::Identity MetabaseOriginal::identityOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool MetabaseOriginal::unchanged() const {
    struct stat named {};
    if (::stat(file_.c_str(), &named) != 0) return false;  // removed or renamed away
    return identityOf(named) == named_;
}

void MetabaseOriginal::savedOver() {
    struct stat named {};
    if (::stat(file_.c_str(), &named) == 0) named_ = identityOf(named);
}

}  // namespace tessaron
