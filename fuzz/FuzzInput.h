#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The entry point every fuzz target defines: libFuzzer calls it with each
// input it makes; the replay program (ReplayMain.cpp) with each file of a
// corpus. A reader must return normally for any bytes (refusing them by its
// own error is fine); a crash, a sanitizer report or an abort() is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tessaron::fuzz {

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tessaron::fuzz
