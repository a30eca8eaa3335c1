#pragma once

#include <string>
#include <string_view>

namespace tessaron {

// The SHA-256 digest of the bytes, as 64 lower-case hexadecimal digits. The
// run journal compares files by it.
std::string sha256Hex(std::string_view bytes);

}  // namespace tessaron
