#include "platform/image/ImagePaths.h"

#include "platform/CodePage1252.h"
#include "platform/HostPath.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

bool validName(const std::string& name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) return false;
        switch (c) {
            case '<':
            case '>':
            case ':':
            case '"':
            case '|':
            case '?':
            case '*':
                return false;
            default:
                break;
        }
    }
    return true;
}

fs::path driveFolder(const fs::path& root, char drive) {
    return root / std::string(1, drive);
}

}  // namespace

std::string foldNameCase(const std::string& utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    std::size_t position = 0;
    while (position < utf8.size()) {
        const auto start = position;
        auto codePoint = nextUtf8(utf8, position);
        if (!codePoint) {
            // Not UTF-8: compare the byte as it is.
            folded += utf8[start];
            position = start + 1;
            continue;
        }
        char32_t c = *codePoint;
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 0x20;
        appendUtf8(folded, c);
    }
    return folded;
}

std::optional<WindowsPathParts> parseWindowsPath(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return std::nullopt;
    char drive = path[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    if (drive < 'A' || drive > 'Z') return std::nullopt;
    WindowsPathParts parts;
    parts.drive = drive;
    std::string name;
    auto finish = [&parts, &name]() -> bool {
        if (name.empty() || name == ".") {
        } else if (name == "..") {
            if (!parts.names.empty()) parts.names.pop_back();
        } else if (!validName(name)) {
            return false;
        } else {
            parts.names.push_back(name);
        }
        name.clear();
        return true;
    };
    for (std::size_t i = 2; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') {
            if (!finish()) return std::nullopt;
        } else {
            name += path[i];
        }
    }
    if (!finish()) return std::nullopt;
    return parts;
}

std::optional<fs::path> ImagePaths::findEntry(const fs::path& folder, const std::string& name) {
    std::error_code error;
    const auto exact = folder / hostPathFromUtf8(name);
    if (fs::symlink_status(exact, error).type() != fs::file_type::not_found && !error) {
        return exact;
    }
    const auto wanted = foldNameCase(name);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (foldNameCase(utf8FromHostPath(it->path().filename())) == wanted) return it->path();
    }
    return std::nullopt;
}

std::optional<ResolvedPath> ImagePaths::resolve(const std::string& windowsPath) const {
    const auto parts = parseWindowsPath(windowsPath);
    if (!parts) return std::nullopt;
    return resolve(*parts);
}

std::optional<ResolvedPath> ImagePaths::resolve(const WindowsPathParts& parts) const {
    std::error_code error;
    ResolvedPath resolved;
    resolved.host = driveFolder(root_, parts.drive);
    if (!fs::is_directory(resolved.host, error)) return std::nullopt;
    resolved.exists = true;
    for (const auto& name : parts.names) {
        if (resolved.exists) {
            if (auto found = findEntry(resolved.host, name)) {
                resolved.host = *found;
                continue;
            }
            resolved.exists = false;
        }
        resolved.host /= hostPathFromUtf8(name);
    }
    return resolved;
}

std::optional<std::string> ImagePaths::windowsPath(const fs::path& hostPath) const {
    const auto relative = hostPath.lexically_normal().lexically_relative(root_.lexically_normal());
    if (relative.empty()) return std::nullopt;
    auto it = relative.begin();
    const auto drive = it->string();
    if (drive.size() != 1 || drive[0] < 'A' || drive[0] > 'Z') return std::nullopt;
    std::string result = drive + ":";
    bool any = false;
    for (++it; it != relative.end(); ++it) {
        const auto name = it->string();
        if (name.empty() || name == ".") continue;
        if (name == "..") return std::nullopt;
        result += "\\" + name;
        any = true;
    }
    if (!any) result += "\\";
    return result;
}

}  // namespace tessaron
