#include "platform/windows/WindowsFileSystem.h"

#include "platform/CodePage1252.h"
#include "platform/ScriptingErrors.h"
#include "platform/WideText.h"
#include "platform/WindowsPath.h"
#include "platform/windows/Win32.h"

namespace tessaron::platform::windows {
namespace {

// The runtime's error for a failed system call.
[[noreturn]] void fail(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            throw scripting_error::fileNotFound();
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            throw scripting_error::pathNotFound();
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            throw scripting_error::permissionDenied();
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            throw scripting_error::fileAlreadyExists();
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            throw scripting_error::diskFull();
        default:
            throw scripting_error::pathFileAccessError();
    }
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(toWide(path).c_str());
}

bool isFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool isFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
// The runtime refuses to change a read-only file itself, before the system
// is asked (which, for an administrator on some systems, would not refuse).
void refuseReadOnly(DWORD attributes) {
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        throw scripting_error::permissionDenied();
    }
}

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A missing file whose folder exists is "File not found"; otherwise the
// folder is missing.
[[noreturn]] void missingFile(const std::string& path) {
    const auto folder = parentOf(path);
    if (folder.empty() || isFolder(attributesOf(folder))) throw scripting_error::fileNotFound();
    throw scripting_error::pathNotFound();
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        if (!valid()) return true;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// A write or flush that failed: a full disk in the system's words, any
// other failure as the runtime's device error.
[[noreturn]] void writeFailed(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        throw scripting_error::diskFull();
    }
    throw scripting_error::deviceIoError();
}

class WindowsTextWriter : public TextWriter {
public:
    explicit WindowsTextWriter(HANDLE handle) : file_(handle) {}

    void WriteLine(const std::string& text) override {
        if (!file_.valid()) throw scripting_error::badFileMode();
        auto bytes = encodeCodePage1252(text);
        if (!bytes) throw scripting_error::invalidCall();
        *bytes += "\r\n";
        DWORD written = 0;
        if (!WriteFile(file_.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &written,
                       nullptr)) {
            writeFailed(GetLastError());
        }
        // A file on disk takes all bytes unless the disk is full.
        if (written != bytes->size()) writeFailed(ERROR_DISK_FULL);
    }

    void Close() override {
        if (!file_.valid()) return;
        if (!FlushFileBuffers(file_.get())) {
            const DWORD error = GetLastError();
            file_.close();
            writeFailed(error);
        }
        if (!file_.close()) throw scripting_error::deviceIoError();
    }

private:
    Handle file_;
};

std::unique_ptr<TextWriter> openForWriting(const std::string& path, DWORD access,
                                           DWORD disposition) {
    const auto attributes = attributesOf(path);
    if (isFolder(attributes)) throw scripting_error::permissionDenied();
    refuseReadOnly(attributes);
    HANDLE handle = CreateFileW(toWide(path).c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) fail(GetLastError());
    return std::make_unique<WindowsTextWriter>(handle);
}

// The names of a folder's sub-folders (folders) or files, in the order the
// file system lists them.
std::vector<std::string> entryNames(const std::string& path, bool folders) {
    if (!isFolder(attributesOf(path))) throw scripting_error::pathNotFound();
    auto pattern = toWide(path);
    if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    std::vector<std::string> names;
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return names;
        fail(error);
    }
    do {
        const std::wstring name = entry.cFileName;
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder == folders && name != L"." && name != L"..") names.push_back(fromWide(name));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

}  // namespace

bool WindowsFileSystem::FolderExists(const std::string& path) {
    return isFolder(attributesOf(path));
}

bool WindowsFileSystem::FileExists(const std::string& path) {
    return isFile(attributesOf(path));
}

void WindowsFileSystem::CreateFolder(const std::string& path) {
    if (path.empty()) throw scripting_error::invalidCall();
    if (attributesOf(path) != INVALID_FILE_ATTRIBUTES) throw scripting_error::fileAlreadyExists();
    if (!CreateDirectoryW(toWide(path).c_str(), nullptr)) fail(GetLastError());
}

void WindowsFileSystem::CopyFile(const std::string& source, const std::string& destination,
                                 bool overwrite) {
    if (!isFile(attributesOf(source))) missingFile(source);
    auto target = destination;
    if (!target.empty() && (target.back() == '\\' || target.back() == '/')) {
        if (!isFolder(attributesOf(target))) throw scripting_error::pathNotFound();
        target += lastPathPart(source);
    }
    const auto existing = attributesOf(target);
    if (isFolder(existing)) throw scripting_error::permissionDenied();
    if (existing != INVALID_FILE_ATTRIBUTES && !overwrite) {
        throw scripting_error::fileAlreadyExists();
    }
    refuseReadOnly(existing);
    if (!CopyFileW(toWide(source).c_str(), toWide(target).c_str(), overwrite ? FALSE : TRUE)) {
        fail(GetLastError());
    }
}

void WindowsFileSystem::ReplaceFile(const std::string& source, const std::string& destination) {
    if (!isFile(attributesOf(source))) missingFile(source);
    const auto existing = attributesOf(destination);
    if (isFolder(existing)) throw scripting_error::permissionDenied();
    refuseReadOnly(existing);
    if (!MoveFileExW(toWide(source).c_str(), toWide(destination).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(GetLastError());
    }
}

void WindowsFileSystem::DeleteFile(const std::string& path) {
    const auto attributes = attributesOf(path);
    if (!isFile(attributes)) missingFile(path);
    refuseReadOnly(attributes);
    if (!DeleteFileW(toWide(path).c_str())) fail(GetLastError());
}

std::vector<std::string> WindowsFileSystem::SubFolders(const std::string& path) {
    return entryNames(path, true);
}

std::vector<std::string> WindowsFileSystem::FileNames(const std::string& path) {
    return entryNames(path, false);
}

std::unique_ptr<TextWriter> WindowsFileSystem::CreateTextFile(const std::string& path,
                                                              bool overwrite) {
    if (!overwrite && attributesOf(path) != INVALID_FILE_ATTRIBUTES) {
        throw scripting_error::fileAlreadyExists();
    }
    return openForWriting(path, GENERIC_WRITE, overwrite ? CREATE_ALWAYS : CREATE_NEW);
}

std::unique_ptr<TextWriter> WindowsFileSystem::OpenTextFileForAppending(const std::string& path) {
    return openForWriting(path, FILE_APPEND_DATA, OPEN_ALWAYS);
}

void WindowsFileSystem::ReadFileBytes(const std::string& path, const BytesConsumer& consume) {
    if (!isFile(attributesOf(path))) missingFile(path);
    Handle file(CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) fail(GetLastError());
    std::string piece(65536, '\0');
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &count,
                      nullptr)) {
            throw scripting_error::deviceIoError();
        }
        if (count == 0 || !consume(std::string_view(piece.data(), count))) break;
    }
}

std::string WindowsFileSystem::ReadTextFile(const std::string& path) {
    std::string bytes;
    ReadFileBytes(path, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return decodeCodePage1252(std::move(bytes));
}

}  // namespace tessaron::platform::windows
