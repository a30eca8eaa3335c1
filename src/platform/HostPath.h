#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaron {

// A path of the computer the program runs on from the program's UTF-8 text
// (a command-line argument, an answers file's reference). On Windows,
// std::filesystem::path reads a char string in the ANSI code page, which
// loses every character outside it; given as char8_t it is read as UTF-8 on
// every system.
inline std::filesystem::path hostPathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// The UTF-8 text of such a path, for messages and reports.
inline std::string utf8FromHostPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace tessaron
