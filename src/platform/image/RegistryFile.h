#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/image/RegistryTree.h"

namespace tessaron {

// How a registry export is stored, so that additions keep its form.
enum class RegistryFileEncoding { Utf16LE, Utf8, Utf8WithBom, Ansi };

struct RegistryFileFormat {
    RegistryFileEncoding encoding = RegistryFileEncoding::Utf16LE;
    bool regedit4 = false;        // "REGEDIT4": expandable and multi-strings in ANSI bytes
    bool crLf = true;             // line ends of the file
    bool endsWithLineEnd = true;  // the last line is terminated
};

struct RegistryFile {
    RegistryTree tree;
    RegistryFileFormat format;
};

// Parses a regedit export ("Windows Registry Editor Version 5.00" in
// UTF-16LE with byte order mark or in UTF-8, or "REGEDIT4"). Throws
// PlatformError naming `fileName` and the line of the first fault.
RegistryFile parseRegistryFile(std::string_view bytes, const std::string& fileName);

// Reads and parses the file; a missing or unreadable file throws
// PlatformError too.
RegistryFile readRegistryFile(const std::filesystem::path& file);

// Appends an empty key section to the file in its own encoding and line
// ends, leaving every existing byte as it is. Throws PlatformError.
void appendRegistryKey(const std::filesystem::path& file, const RegistryFileFormat& format,
                       const std::string& keyPath);

}  // namespace tessaron
