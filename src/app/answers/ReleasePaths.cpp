#include "app/answers/ReleasePaths.h"

#include <functional>
#include <vector>

#include "platform/Failure.h"
#include "platform/Text.h"

namespace tessaron::app::answers {
namespace {

struct ReleaseFolder {
    const char* variable;
    std::function<std::string(SystemQueries&)> folder;
};

const std::vector<ReleaseFolder>& releaseFolders() {
    static const std::vector<ReleaseFolder> folders = {
        {"%ProgramFiles%", [](SystemQueries& system) { return system.GetProgramFilesDir(); }},
        {"%SystemRoot%", [](SystemQueries& system) { return system.GetWindowsDir(); }},
    };
    return folders;
}

std::string folderOf(SystemQueries& system, const ReleaseFolder& folder) {
    try {
        std::string path = folder.folder(system);
        while (!path.empty() && path.back() == '\\') path.pop_back();
        return path;
    } catch (const PlatformError&) {
        return {};
    }
}

// True when text begins with prefix (any case) followed by a backslash or
// its end.
bool beginsWithFolder(const std::string& text, const std::string& prefix) {
    if (prefix.empty() || text.size() < prefix.size()) return false;
    if (!equalsIgnoreCase(std::string_view(text).substr(0, prefix.size()), prefix)) return false;
    return text.size() == prefix.size() || text[prefix.size()] == '\\';
}

}  // namespace

std::optional<std::string> releaseRelativePath(SystemQueries& system, const std::string& value) {
    for (const auto& folder : releaseFolders()) {
        const std::string path = folderOf(system, folder);
        if (beginsWithFolder(value, path)) return folder.variable + value.substr(path.size());
    }
    return std::nullopt;
}

std::string expandReleasePath(SystemQueries& system, const std::string& value) {
    for (const auto& folder : releaseFolders()) {
        if (beginsWithFolder(value, folder.variable)) {
            return folderOf(system, folder) + value.substr(std::string(folder.variable).size());
        }
    }
    return value;
}

}  // namespace tessaron::app::answers
