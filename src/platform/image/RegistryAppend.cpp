// Additions to a regedit export, written in the file's own encoding and line
// ends after its last byte.
#include <fstream>

#include "platform/CodePage1252.h"
#include "platform/Failure.h"
#include "platform/image/RegistryFile.h"

namespace tessaron {
namespace {

PlatformError invalidCall() {
    return PlatformError(error_number::kInvalidProcedureCall, "Invalid procedure call or argument");
}

std::string encodeUtf16LE(const std::string& utf8) {
    std::string out;
    auto put = [&out](char32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>((unit >> 8) & 0xFF);
    };
    std::size_t position = 0;
    while (position < utf8.size()) {
        const auto codePoint = nextUtf8(utf8, position);
        if (!codePoint) throw invalidCall();
        if (*codePoint >= 0x10000) {
            const char32_t value = *codePoint - 0x10000;
            put(0xD800 + (value >> 10));
            put(0xDC00 + (value & 0x3FF));
        } else {
            put(*codePoint);
        }
    }
    return out;
}

std::string encodeForFile(const std::string& utf8, RegistryFileEncoding encoding) {
    switch (encoding) {
        case RegistryFileEncoding::Utf8:
        case RegistryFileEncoding::Utf8WithBom:
            return utf8;
        case RegistryFileEncoding::Ansi: {
            auto bytes = encodeCodePage1252(utf8);
            if (!bytes) throw invalidCall();
            return *bytes;
        }
        case RegistryFileEncoding::Utf16LE:
            return encodeUtf16LE(utf8);
    }
    return utf8;
}

std::string lineEndText(RegistryLineEnd lineEnd) {
    switch (lineEnd) {
        case RegistryLineEnd::CrLf:
            return "\r\n";
        case RegistryLineEnd::Lf:
            return "\n";
        case RegistryLineEnd::Cr:
            return "\r";
    }
    return "\r\n";
}

// The file's last character (in its encoding), or 0 when it is empty.
char lastCharacter(const std::filesystem::path& file, RegistryFileEncoding encoding) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const auto size = static_cast<long long>(in.tellg());
    const int width = encoding == RegistryFileEncoding::Utf16LE ? 2 : 1;
    if (size < width) return 0;
    in.seekg(size - width);
    char last[2] = {};
    in.read(last, width);
    return width == 2 && last[1] != 0 ? 'x' : last[0];
}

// What goes before the key's own line so that it starts a line of its own,
// after one blank line as regedit writes between keys. A file whose lines
// end in CR LF but whose last line ends in a lone CR has that line end
// completed; a file that ends without a line end has its last line ended.
std::string separatorBefore(char last, const std::string& lineEnd) {
    if (last == '\r' && lineEnd == "\r\n") return "\n" + lineEnd;
    if (last == '\r' || last == '\n') return lineEnd;
    return lineEnd + lineEnd;
}

}  // namespace

void appendRegistryKey(const std::filesystem::path& file, const RegistryFileFormat& format,
                       const std::string& keyPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto status = fs::status(file, error);
    if (error || !fs::is_regular_file(status)) {
        throw PlatformError(error_number::kFileNotFound, "File not found");
    }
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        throw PlatformError(error_number::kPermissionDenied, "Permission denied");
    }
    const auto lineEnd = lineEndText(format.lineEnd);
    const auto text = separatorBefore(lastCharacter(file, format.encoding), lineEnd) + "[" +
                      keyPath + "]" + lineEnd;
    const auto bytes = encodeForFile(text, format.encoding);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) throw PlatformError(error_number::kPermissionDenied, "Permission denied");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw PlatformError(error_number::kPathFileAccessError, "Path/File access error");
}

}  // namespace tessaron
