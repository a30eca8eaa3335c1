#include "platform/image/ImageFileSystem.h"

#include <fcntl.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/CodePage1252.h"
#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "platform/ScriptingErrors.h"
#include "platform/TemporaryNames.h"
#include "platform/image/FileDescriptors.h"
#include "platform/image/NtfsNameOrder.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

[[noreturn]] void pathNotFound() {
    throw scripting_error::pathNotFound();
}
[[noreturn]] void fileNotFound() {
    throw scripting_error::fileNotFound();
}
[[noreturn]] void permissionDenied() {
    throw scripting_error::permissionDenied();
}
[[noreturn]] void fileAlreadyExists() {
    throw scripting_error::fileAlreadyExists();
}
[[noreturn]] void invalidCall() {
    throw scripting_error::invalidCall();
}
// A host failure in the runtime's terms.
[[noreturn]] void hostFailure(const std::error_code& error) {
    if (error == std::errc::no_space_on_device) throw scripting_error::diskFull();
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system) {
        permissionDenied();
    }
    if (error == std::errc::no_such_file_or_directory) pathNotFound();
    throw scripting_error::pathFileAccessError();
}

bool isDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isFile(const fs::path& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    return !error && fs::exists(status) && !fs::is_directory(status);
}

// An entry named by a Windows path: its folder (which must exist) and the
// entry itself, found without regard to case or named as given.
struct Entry {
    fs::path folder;
    fs::path host;
    bool exists;
};

Entry locateEntry(const ImagePaths& paths, const std::string& windowsPath) {
    auto parts = parseWindowsPath(windowsPath);
    if (!parts || parts->names.empty()) pathNotFound();
    const auto name = parts->names.back();
    parts->names.pop_back();
    const auto folder = paths.resolve(*parts);
    if (!folder || !folder->exists || !isDirectory(folder->host)) pathNotFound();
    if (auto found = ImagePaths::findEntry(folder->host, name)) {
        return {folder->host, *found, true};
    }
    return {folder->host, folder->host / hostPathFromUtf8(name), false};
}

bool endsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// A fresh name beside the target for writing a copy before it takes the
// target's place.
fs::path temporaryBeside(const fs::path& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = target.parent_path() / temporaryNameFor(target.filename().string());
        std::error_code error;
        if (!fs::exists(candidate, error)) return candidate;
    }
    throw scripting_error::pathFileAccessError();
}

// Lines are gathered and written in large pieces straight to the file's
// descriptor, so that a failed write is seen with the system's reason (a
// full disk is not a device error).
class ImageTextWriter : public TextWriter {
public:
    ImageTextWriter(const fs::path& file, bool append)
        : fd_(file_descriptors::openFile(file, O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC),
                                         0666)) {
        if (fd_ < 0) {
            if (errno == ENOSPC) throw scripting_error::diskFull();
            permissionDenied();
        }
    }
    ~ImageTextWriter() override {
        if (fd_ >= 0) file_descriptors::closeFile(fd_);
    }
    ImageTextWriter(const ImageTextWriter&) = delete;
    ImageTextWriter& operator=(const ImageTextWriter&) = delete;

    void WriteLine(const std::string& text) override {
        if (fd_ < 0) throw scripting_error::badFileMode();
        auto bytes = encodeCodePage1252(text);
        if (!bytes) invalidCall();
        pending_ += *bytes;
        pending_ += "\r\n";
        if (pending_.size() >= kPieceSize) writePending();
    }

    void Close() override {
        if (fd_ < 0) return;
        const int fd = fd_;
        fd_ = -1;
        const bool written = writeAll(fd);
        const int writeError = errno;
        const bool closed = file_descriptors::closeFile(fd) == 0;
        if (!written) failWith(writeError);
        if (!closed) failWith(errno);
    }

private:
    static constexpr std::size_t kPieceSize = std::size_t{64} * 1024;

    [[noreturn]] static void failWith(int error) {
        if (error == ENOSPC) throw scripting_error::diskFull();
        throw scripting_error::deviceIoError();
    }

    void writePending() {
        if (!writeAll(fd_)) failWith(errno);
    }

    // Writes what is gathered; the part that could not be written is dropped,
    // as the file is incomplete from there on anyway.
    bool writeAll(int fd) {
        std::string_view rest(pending_);
        while (!rest.empty()) {
            const auto count = file_descriptors::writeSome(fd, rest.data(), rest.size());
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) {
                if (count == 0) errno = ENOSPC;
                pending_.clear();
                return false;
            }
            rest.remove_prefix(static_cast<std::size_t>(count));
        }
        pending_.clear();
        return true;
    }

    int fd_;
    std::string pending_;
};

}  // namespace

bool isReadOnlyEntry(const fs::path& hostPath) {
    return file_descriptors::isReadOnly(hostPath);
}

bool ImageFileSystem::FolderExists(const std::string& path) {
    const auto resolved = paths_.resolve(path);
    return resolved && resolved->exists && isDirectory(resolved->host);
}

bool ImageFileSystem::FileExists(const std::string& path) {
    const auto resolved = paths_.resolve(path);
    return resolved && resolved->exists && isFile(resolved->host);
}

void ImageFileSystem::CreateFolder(const std::string& path) {
    if (path.empty()) invalidCall();
    const auto parts = parseWindowsPath(path);
    if (parts && parts->names.empty()) {
        // A drive's root exists whenever the drive does.
        if (paths_.resolve(*parts)) fileAlreadyExists();
        pathNotFound();
    }
    const auto entry = locateEntry(paths_, path);
    if (entry.exists) fileAlreadyExists();
    if (isReadOnlyEntry(entry.folder)) permissionDenied();
    std::error_code error;
    if (!fs::create_directory(entry.host, error) || error) {
        if (error) hostFailure(error);
        fileAlreadyExists();
    }
}

void ImageFileSystem::CopyFile(const std::string& source, const std::string& destination,
                               bool overwrite) {
    const auto from = locateEntry(paths_, source);
    if (!from.exists || !isFile(from.host)) fileNotFound();

    Entry to;
    if (endsWithSeparator(destination)) {
        // A folder: the copy keeps the source's name.
        const auto folder = paths_.resolve(destination);
        if (!folder || !folder->exists || !isDirectory(folder->host)) pathNotFound();
        const auto name = utf8FromHostPath(from.host.filename());
        const auto found = ImagePaths::findEntry(folder->host, name);
        to = {folder->host, found ? *found : folder->host / hostPathFromUtf8(name),
              found.has_value()};
    } else {
        to = locateEntry(paths_, destination);
    }
    if (to.exists) {
        if (isDirectory(to.host)) permissionDenied();
        if (!overwrite) fileAlreadyExists();
        std::error_code same;
        if (fs::equivalent(from.host, to.host, same)) permissionDenied();
        if (isReadOnlyEntry(to.host)) permissionDenied();
    }
    const bool folderReadOnly = isReadOnlyEntry(to.folder);
    if (!to.exists && folderReadOnly) permissionDenied();

    std::error_code error;
    if (folderReadOnly) {
        // No new entry may appear in a read-only folder: rewrite the file in place.
        fs::copy_file(from.host, to.host, fs::copy_options::overwrite_existing, error);
        if (error) hostFailure(error);
        return;
    }
    // Write the copy beside the target and move it into place in one step, so
    // a failed copy leaves the old file whole.
    const auto temporary = temporaryBeside(to.host);
    fs::copy_file(from.host, temporary, fs::copy_options::none, error);
    if (!error) fs::rename(temporary, to.host, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        hostFailure(error);
    }
}

void ImageFileSystem::ReplaceFile(const std::string& source, const std::string& destination) {
    const auto from = locateEntry(paths_, source);
    if (!from.exists || !isFile(from.host)) fileNotFound();
    const auto to = locateEntry(paths_, destination);
    if (to.exists && isDirectory(to.host)) permissionDenied();
    if ((to.exists && isReadOnlyEntry(to.host)) || isReadOnlyEntry(to.folder) ||
        isReadOnlyEntry(from.folder)) {
        permissionDenied();
    }
    std::error_code error;
    fs::rename(from.host, to.host, error);
    if (error) hostFailure(error);
}

void ImageFileSystem::DeleteFile(const std::string& path) {
    const auto entry = locateEntry(paths_, path);
    if (!entry.exists || !isFile(entry.host)) fileNotFound();
    if (isReadOnlyEntry(entry.host) || isReadOnlyEntry(entry.folder)) permissionDenied();
    std::error_code error;
    fs::remove(entry.host, error);
    if (error) hostFailure(error);
}

namespace {

// Names of a folder's entries that are (or are not) folders themselves.
std::vector<std::string> entryNames(const ImagePaths& paths, const std::string& path,
                                    bool folders) {
    const auto folder = paths.resolve(path);
    if (!folder || !folder->exists || !isDirectory(folder->host)) pathNotFound();
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder->host, error), end; it != end; it.increment(error)) {
        if (error) break;
        const bool isFolder = isDirectory(it->path());
        if (isFolder == folders && (folders || isFile(it->path()))) {
            names.push_back(utf8FromHostPath(it->path().filename()));
        }
    }
    if (error) hostFailure(error);
    sortInNtfsOrder(names);
    return names;
}

}  // namespace

std::vector<std::string> ImageFileSystem::SubFolders(const std::string& path) {
    return entryNames(paths_, path, true);
}

std::vector<std::string> ImageFileSystem::FileNames(const std::string& path) {
    return entryNames(paths_, path, false);
}

std::unique_ptr<TextWriter> ImageFileSystem::CreateTextFile(const std::string& path,
                                                            bool overwrite) {
    const auto entry = locateEntry(paths_, path);
    if (entry.exists) {
        if (!overwrite) fileAlreadyExists();
        if (isDirectory(entry.host) || isReadOnlyEntry(entry.host)) permissionDenied();
    } else if (isReadOnlyEntry(entry.folder)) {
        permissionDenied();
    }
    return std::make_unique<ImageTextWriter>(entry.host, false);
}

std::unique_ptr<TextWriter> ImageFileSystem::OpenTextFileForAppending(const std::string& path) {
    const auto entry = locateEntry(paths_, path);
    if (entry.exists) {
        if (isDirectory(entry.host) || isReadOnlyEntry(entry.host)) permissionDenied();
    } else if (isReadOnlyEntry(entry.folder)) {
        permissionDenied();
    }
    return std::make_unique<ImageTextWriter>(entry.host, true);
}

namespace {

// The size of the pieces ReadFileBytes hands over.
constexpr std::size_t kPieceSize = std::size_t{64} * 1024;

}  // namespace

void ImageFileSystem::ReadFileBytes(const std::string& path, const BytesConsumer& consume) {
    const auto entry = locateEntry(paths_, path);
    if (!entry.exists || !isFile(entry.host)) fileNotFound();
    std::ifstream in(entry.host, std::ios::binary);
    if (!in) permissionDenied();
    std::string piece(kPieceSize, '\0');
    while (in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const auto count = static_cast<std::size_t>(in.gcount());
        if (count > 0 && !consume(std::string_view(piece.data(), count))) return;
    }
    if (in.bad()) throw scripting_error::deviceIoError();
}

std::string ImageFileSystem::ReadTextFile(const std::string& path) {
    std::string bytes;
    ReadFileBytes(path, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return decodeCodePage1252(std::move(bytes));
}

}  // namespace tessaron
