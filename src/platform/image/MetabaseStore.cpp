#include "platform/image/MetabaseStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

#include "platform/WindowsPath.h"
#include "platform/image/MetabaseErrors.h"
#include "platform/image/MetabaseIndex.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

// Writes all bytes to a new file beside the target and renames it over the
// target, so a reader sees the old file or the new one, never a part.
void replaceAtomically(const fs::path& target, const std::vector<std::string_view>& pieces,
                       mode_t mode) {
    const auto temporary = fs::path(target).concat(".saving");
    const auto fail = [&](const char* what) {
        const std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        throw metabase_error::writeFailed("The metabase file " + target.string() +
                                          " could not be saved (" + what + ": " + reason + ").");
    };
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) fail("create");
    for (const auto piece : pieces) {
        std::size_t written = 0;
        while (written < piece.size()) {
            const auto count = ::write(fd, piece.data() + written, piece.size() - written);
            if (count < 0) {
                if (errno == EINTR) continue;
                ::close(fd);
                fail("write");
            }
            written += static_cast<std::size_t>(count);
        }
    }
    ::fchmod(fd, mode);
    if (::fsync(fd) != 0) {
        ::close(fd);
        fail("sync");
    }
    if (::close(fd) != 0) fail("close");
    if (::rename(temporary.c_str(), target.c_str()) != 0) fail("rename");
    const int dir = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

MetabaseStore::MetabaseStore(fs::path file) : file_(std::move(file)) {}

MetabaseStore::~MetabaseStore() {
    try {
        flush();
    } catch (...) {
        // Nothing can be reported from here; the file keeps its last state.
    }
}

MetabaseDocument& MetabaseStore::document() {
    if (!document_) {
        std::error_code error;
        if (!fs::is_regular_file(file_, error)) throw metabase_error::pathNotFound();
        document_ = MetabaseDocument::load(file_);
    }
    return *document_;
}

void MetabaseStore::checkWritable() const {
    struct stat info {};
    if (::stat(file_.c_str(), &info) != 0) throw metabase_error::pathNotFound();
    if ((info.st_mode & S_IWUSR) == 0) throw metabase_error::accessDenied();
}

void MetabaseStore::flush() {
    if (!dirty_ || !document_) return;
    checkWritable();
    struct stat info {};
    ::stat(file_.c_str(), &info);
    std::deque<std::string> storage;
    replaceAtomically(file_, document_->render(storage), info.st_mode & 07777);
    dirty_ = false;
}

std::optional<std::string> metabaseLocation(const std::string& adsPath) {
    constexpr std::string_view scheme = "IIS://";
    constexpr std::string_view host = "LocalHost";
    std::string_view path(adsPath);
    if (path.size() < scheme.size() + host.size() ||
        !caseInsensitiveEqual(path.substr(0, scheme.size()), scheme) ||
        !caseInsensitiveEqual(path.substr(scheme.size(), host.size()), host)) {
        return std::nullopt;
    }
    path.remove_prefix(scheme.size() + host.size());
    if (!path.empty() && path.front() != '/') return std::nullopt;
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    if (path.find("//") != std::string_view::npos) return std::nullopt;
    std::string location = "/LM";
    location += path;
    return location;
}

}  // namespace tessaron
