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

}  // namespace tessaron
