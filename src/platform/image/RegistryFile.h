#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/RegistryTree.h"

namespace tessaron {

// How a registry export is stored, so that additions keep its form.
enum class RegistryFileEncoding { Utf16LE, Utf8, Utf8WithBom, Ansi };

// The line ends of a file, taken from its first line end.
enum class RegistryLineEnd { CrLf, Lf, Cr };

struct RegistryFileFormat {
    RegistryFileEncoding encoding = RegistryFileEncoding::Utf16LE;
    bool regedit4 = false;  // "REGEDIT4": expandable and multi-strings in ANSI bytes
    RegistryLineEnd lineEnd = RegistryLineEnd::CrLf;
    bool endsWithLineEnd = true;  // the last line is terminated
};

struct RegistryFile {
    RegistryTree tree;
    RegistryFileFormat format;
    // What regedit imports with a warning, one text each, naming the file
    // and the line ("Warning: the registry file F at line N: ...").
    std::vector<std::string> warnings;
};

// Parses a regedit export ("Windows Registry Editor Version 5.00" in
// UTF-16LE with byte order mark or in UTF-8, or "REGEDIT4") and takes every
// form regedit imports with regedit's meaning: comments (";" and "#" lines,
// ";" after a value's data), values of a removed key ignored, hex data
// continued over comment and blank lines. Throws PlatformError naming
// `fileName` and the line of the first fault for what regedit refuses or
// what is most likely a mistake (a stray line, a truncated file).
RegistryFile parseRegistryFile(std::string_view bytes, const std::string& fileName);

// Reads and parses the file; a missing or unreadable file throws
// PlatformError too.
RegistryFile readRegistryFile(const std::filesystem::path& file);

// Appends an empty key section to the file in its own encoding and line
// ends, leaving every existing byte as it is; a last line without its line
// end is ended first, so the key starts on a line of its own. Throws
// PlatformError.
void appendRegistryKey(const std::filesystem::path& file, const RegistryFileFormat& format,
                       const std::string& keyPath);

}  // namespace tessaron
