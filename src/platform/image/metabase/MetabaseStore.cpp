#include "platform/image/metabase/MetabaseStore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/ScriptingErrors.h"
#include "platform/TemporaryNames.h"
#include "platform/WindowsPath.h"
#include "platform/image/FileDescriptors.h"
#include "platform/metabase/MetabaseErrors.h"
#include "platform/metabase/MetabaseIndex.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

namespace fd_io = file_descriptors;

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const auto count = fd_io::writeSome(fd, text.data(), text.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// The system's own text of a failure, as Windows words the one a full disk
// gives, so that the line of a failed save names the cause as it would there.
std::string reasonOf(int error) {
    if (error == ENOSPC) return scripting_error::diskFull().description();
    return std::strerror(error);
}

// Writes the document's pieces to a new file beside the target and renames
// it over the target, so a reader sees the old file or the new one, never a
// part.
//
// The new file is not synced before the rename. What a save promises is
// that the file holds every commit when it returns, for every program that
// reads it; that holds without a sync, which would wait for the disk and
// cost several times the rest of the save. (Against a power failure right
// after a save, ext4 by default and btrfs start writing a file renamed over
// another at the rename, which narrows the window a sync would close.)
void replaceAtomically(const fs::path& target, const MetabaseDocument& document, unsigned mode) {
    const auto temporary = target.parent_path() / temporaryNameFor(target.filename().string());
    const auto fail = [&](const char* what, const std::string& reason) {
        fd_io::removeFile(temporary);
        throw metabase_error::writeFailed("The metabase file " + target.string() +
                                          " could not be saved (" + what + ": " + reason + ").");
    };
    if (!document.original().unchanged()) {
        fail("read", "another program has written to the file since it was read");
    }
    const auto pieces = document.savePieces();
    const int fd = fd_io::openFile(temporary, O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0) fail("create", reasonOf(errno));
    for (const auto& piece : pieces) {
        const bool written = piece.fromFile
                                 ? document.original().copyTo(fd, piece.offset, piece.length)
                                 : writeAll(fd, piece.text);
        if (!written) {
            const std::string reason = reasonOf(errno);
            fd_io::closeFile(fd);
            fail("write", reason);
        }
    }
    fd_io::setMode(fd, temporary, mode);
    if (fd_io::closeFile(fd) != 0) fail("close", reasonOf(errno));
    if (!fd_io::renameOver(temporary, target)) fail("rename", reasonOf(errno));
}

}  // namespace

MetabaseStore::MetabaseStore(fs::path file) : file_(std::move(file)) {}

// Commits never saved stay unsaved: a save happens where the program asks
// for one, never later behind its back.
MetabaseStore::~MetabaseStore() = default;

MetabaseDocument& MetabaseStore::document() {
    if (!document_) {
        std::error_code error;
        if (!fs::is_regular_file(file_, error)) throw metabase_error::pathNotFound();
        document_ = MetabaseDocument::load(file_);
    }
    return *document_;
}

SiteBindings& MetabaseStore::bindings() {
    if (!bindings_) bindings_ = std::make_unique<SiteBindings>(document());
    return *bindings_;
}

void MetabaseStore::checkWritable() const {
    unsigned mode = 0;
    if (!fd_io::modeOf(file_, mode)) throw metabase_error::pathNotFound();
    if ((mode & S_IWUSR) == 0) throw metabase_error::accessDenied();
}

bool MetabaseStore::stale() const {
    return document_ && !dirty_ && (abandoned_ || !document_->original().unchanged());
}

void MetabaseStore::flush() {
    if (!dirty_ || !document_) return;
    // One attempt: when it fails, the commits are given up and the file
    // keeps its former state, so that what the caller reports as not saved
    // is never saved afterwards.
    dirty_ = false;
    abandoned_ = true;
    try {
        checkWritable();
    } catch (const PlatformError& error) {
        // Named like the other save failures, so the run's line says which
        // file could not be saved.
        std::string reason = error.description();
        if (!reason.empty() && reason.back() == '.') reason.pop_back();
        throw metabase_error::writeFailed("The metabase file " + file_.string() +
                                          " could not be saved (" + reason + ").");
    }
    unsigned mode = 0;
    fd_io::modeOf(file_, mode);
    replaceAtomically(file_, *document_, mode & 07777);
    document_->original().savedOver();
    abandoned_ = false;
}

std::optional<std::string> metabaseLocation(const std::string& adsPath) {
    constexpr std::string_view scheme = "IIS://";
    constexpr std::string_view host = "LocalHost";
    std::string_view path(adsPath);
    if (path.size() < scheme.size() + host.size() ||
        !equalsIgnoreCase(path.substr(0, scheme.size()), scheme) ||
        !equalsIgnoreCase(path.substr(scheme.size(), host.size()), host)) {
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
