#include "platform/WindowsPath.h"

#include <algorithm>

namespace tessaron {

bool endsWithBackslash(std::string_view path) {
    return !path.empty() && path.back() == '\\';
}

std::string withTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (!endsWithBackslash(result)) result += '\\';
    return result;
}

std::string lastPathPart(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string pathFolder(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace tessaron
