#pragma once

// Pieces shared by the parts of the registry file reader: the decoded lines,
// the fault that names a line, and the parse of a value's data.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "platform/image/RegistryFile.h"

namespace tessaron::registry_parsing {

// A fault at a line of the file, turned into the PlatformError by the caller.
struct RegistryFault {
    std::size_t line;
    std::string reason;
};

[[noreturn]] void fault(std::size_t line, std::string reason);

// Something the file holds that regedit imports with a warning.
struct RegistryWarning {
    std::size_t line;
    std::string reason;
};

struct Line {
    std::size_t number;
    std::string text;  // UTF-8, without its line end
};

// Decodes the file's bytes (UTF-16LE with byte order mark, UTF-8 with or
// without one, or the ANSI code page for "REGEDIT4") and splits the text into
// lines at CR LF, a lone LF or a lone CR, as regedit does. Records the
// encoding and the line ends in `format`.
std::vector<Line> decodeLines(std::string_view bytes, RegistryFileFormat& format);

// UTF-8 of UTF-16LE bytes. Throws RegistryFault (line counted from 1).
std::string decodeUtf16LE(std::string_view bytes);

// True when nothing but blanks and a ";" comment follow.
bool onlyCommentFollows(std::string_view rest);

inline int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// What the parse of one value needs from around it.
struct ValueContext {
    const std::vector<Line>& lines;
    std::size_t& index;  // the value's line; left on its last line
    bool ansi;           // REGEDIT4: string data in hex form are ANSI bytes
    std::vector<RegistryWarning>& warnings;
};

inline std::size_t lineNumber(const ValueContext& context) {
    return context.lines[context.index].number;
}

// Reads the bytes of a hex: or hex(type): value from `first` (the text after
// the colon) and its continuation lines, and decodes them by type.
RegistryEntry parseHexValue(RegistryType type, std::string_view first, ValueContext& context);

// Parses `"name"=data` or `@=data` at the current line. Returns nullopt for a
// deletion (`"name"=-`); `name` receives the value's name either way.
std::optional<RegistryEntry> parseValueLine(ValueContext& context, std::string& name);

}  // namespace tessaron::registry_parsing
