#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace tessaron {

// UTF-8 text of the program to and from the UTF-16 text of Windows' wide
// functions. Invalid sequences become U+FFFD.
std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);

}  // namespace tessaron

#endif
