// Reader of regedit exports. The whole file is decoded and checked before
// anything is kept, so a faulty file never yields part of a registry.
#include "platform/image/RegistryFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/Failure.h"
#include "platform/WindowsPath.h"
#include "platform/image/CodePage1252.h"

namespace tessaron {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

// A fault at a line of the file, turned into the PlatformError by the caller.
struct RegistryFault {
    std::size_t line;
    std::string reason;
};

[[noreturn]] void fault(std::size_t line, std::string reason) {
    throw RegistryFault{line, std::move(reason)};
}

// ---- Decoding the bytes into UTF-8 text ----

std::string decodeUtf16LE(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    std::size_t line = 1;
    std::size_t position = 0;
    auto unitAt = [&](std::size_t at) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    while (position < bytes.size()) {
        if (position + 1 >= bytes.size()) fault(line, "the file ends in the middle of a character");
        char32_t codePoint = unitAt(position);
        position += 2;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            if (position + 1 >= bytes.size()) {
                fault(line, "the file ends in the middle of a character");
            }
            const char16_t low = unitAt(position);
            if (low < 0xDC00 || low > 0xDFFF) fault(line, "the text is not valid UTF-16");
            position += 2;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
        } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            fault(line, "the text is not valid UTF-16");
        }
        if (codePoint == 0) fault(line, "the line holds a NUL character");
        if (codePoint == '\n') ++line;
        appendUtf8(out, codePoint);
    }
    return out;
}

void checkUtf8(std::string_view text) {
    std::size_t line = 1;
    std::size_t position = 0;
    while (position < text.size()) {
        const auto codePoint = nextUtf8(text, position);
        if (!codePoint) {
            fault(line,
                  "the text is not valid UTF-8 (a file saved as UTF-16 needs its byte order mark)");
        }
        if (*codePoint == 0) fault(line, "the line holds a NUL character");
        if (*codePoint == '\n') ++line;
    }
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string decodeFile(std::string_view bytes, RegistryFileFormat& format) {
    if (startsWith(bytes, "\xFF\xFE")) {
        format.encoding = RegistryFileEncoding::Utf16LE;
        return decodeUtf16LE(bytes.substr(2));
    }
    if (startsWith(bytes, "\xFE\xFF")) {
        fault(1, "the file is in UTF-16 big-endian; save it as UTF-16LE or UTF-8");
    }
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        format.encoding = RegistryFileEncoding::Utf8WithBom;
        checkUtf8(bytes.substr(3));
        return std::string(bytes.substr(3));
    }
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) {
        fault(1, "the file is in UTF-16 without a byte order mark; save it with one or as UTF-8");
    }
    if (startsWith(bytes, kHeader4)) {
        // The old format is written in the ANSI code page.
        format.encoding = RegistryFileEncoding::Ansi;
        if (bytes.find('\0') != std::string_view::npos) {
            const auto before = bytes.substr(0, bytes.find('\0'));
            fault(1 + std::count(before.begin(), before.end(), '\n'),
                  "the line holds a NUL character");
        }
        return decodeCodePage1252(bytes);
    }
    format.encoding = RegistryFileEncoding::Utf8;
    checkUtf8(bytes);
    return std::string(bytes);
}

// ---- Lines ----

struct Line {
    std::size_t number;
    std::string text;
};

std::vector<Line> splitLines(const std::string& text, RegistryFileFormat& format) {
    std::vector<Line> lines;
    std::size_t start = 0;
    std::size_t number = 1;
    bool sawLineEnd = false;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        const bool terminated = end != std::string::npos;
        if (!terminated) end = text.size();
        std::string content = text.substr(start, end - start);
        if (!content.empty() && content.back() == '\r') {
            content.pop_back();
            if (!sawLineEnd) format.crLf = true;
        } else if (terminated && !sawLineEnd) {
            format.crLf = false;
        }
        if (terminated) sawLineEnd = true;
        lines.push_back({number++, std::move(content)});
        start = terminated ? end + 1 : end;
    }
    format.endsWithLineEnd = text.empty() || text.back() == '\n';
    return lines;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// ---- Keys ----

bool knownHive(std::string_view hive) {
    static constexpr std::string_view kHives[] = {"HKEY_LOCAL_MACHINE",  "HKEY_CURRENT_USER",
                                                  "HKEY_CLASSES_ROOT",   "HKEY_USERS",
                                                  "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
    for (const auto known : kHives) {
        if (equalsIgnoreCase(hive, known)) return true;
    }
    return false;
}

std::string checkedKeyPath(std::string_view path, std::size_t line) {
    if (path.empty()) fault(line, "the key has no name");
    const auto parts = splitText(path, "\\");
    if (!knownHive(parts.front())) {
        fault(line, "the key does not begin with a registry hive such as HKEY_LOCAL_MACHINE");
    }
    for (const auto& part : parts) {
        if (part.empty()) fault(line, "the key's name holds an empty part");
    }
    return std::string(path);
}

// ---- Values ----

// Parses a quoted text at position (on the opening quote); returns the text
// and leaves position after the closing quote.
std::string parseQuoted(std::string_view text, std::size_t& position, std::size_t line) {
    std::string result;
    for (++position; position < text.size(); ++position) {
        const char c = text[position];
        if (c == '"') {
            ++position;
            return result;
        }
        if (c == '\\') {
            if (position + 1 >= text.size()) break;
            const char escaped = text[++position];
            if (escaped != '\\' && escaped != '"') {
                fault(line, std::string("unknown escape \\") + escaped +
                                " in a quoted text (write a backslash as \\\\)");
            }
            result += escaped;
        } else {
            result += c;
        }
    }
    fault(line, "the quoted text has no closing quote");
}

struct HexBytes {
    std::vector<std::uint8_t> bytes;
    std::size_t lastLine;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the comma-separated bytes that start in `first` (already cut after the
// colon), following continuation lines that end with a backslash.
HexBytes parseHexBytes(std::string_view first, const std::vector<Line>& lines, std::size_t& index) {
    HexBytes result;
    std::string_view fragment = trimBlanks(first);
    std::size_t lineNumber = lines[index].number;
    while (true) {
        const bool continued = !fragment.empty() && fragment.back() == '\\';
        if (continued) fragment = trimBlanks(fragment.substr(0, fragment.size() - 1));
        if (!fragment.empty()) {
            const auto tokens = splitText(fragment, ",");
            for (std::size_t i = 0; i < tokens.size(); ++i) {
                const auto token = trimBlanks(tokens[i]);
                if (token.empty()) {
                    // Only a trailing comma before the line's end may leave a gap.
                    if (i + 1 == tokens.size() && i > 0) break;
                    fault(lineNumber, "a byte is missing between commas");
                }
                if (token.size() > 2 || hexDigit(token[0]) < 0 ||
                    (token.size() == 2 && hexDigit(token[1]) < 0)) {
                    fault(lineNumber, "\"" + std::string(token) + "\" is not a hexadecimal byte");
                }
                result.bytes.push_back(static_cast<std::uint8_t>(
                    token.size() == 1 ? hexDigit(token[0])
                                      : hexDigit(token[0]) * 16 + hexDigit(token[1])));
            }
        }
        if (!continued) break;
        if (index + 1 >= lines.size()) {
            fault(lineNumber, "the file ends inside a value continued on the next line");
        }
        fragment = trimBlanks(lines[++index].text);
        lineNumber = lines[index].number;
    }
    result.lastLine = lineNumber;
    return result;
}

std::string decodeUtf16Bytes(const std::vector<std::uint8_t>& bytes, std::size_t line) {
    if (bytes.size() % 2 != 0) fault(line, "the string's data has an odd number of bytes");
    std::string units(bytes.begin(), bytes.end());
    // Stop at the terminating NUL.
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        if (units[i] == 0 && units[i + 1] == 0) {
            units.resize(i);
            break;
        }
    }
    try {
        return decodeUtf16LE(units);
    } catch (const RegistryFault&) {
        fault(line, "the string's data is not valid UTF-16");
    }
}

// The data of a string type as text, up to its terminating NUL.
std::string decodeString(const std::vector<std::uint8_t>& bytes, bool ansi, std::size_t line) {
    if (ansi) {
        const std::string raw(bytes.begin(), bytes.end());
        return decodeCodePage1252(raw.substr(0, raw.find('\0')));
    }
    return decodeUtf16Bytes(bytes, line);
}

std::vector<std::string> decodeMultiString(const std::vector<std::uint8_t>& bytes, bool ansi,
                                           std::size_t line) {
    std::vector<std::string> items;
    const std::size_t unit = ansi ? 1 : 2;
    if (bytes.size() % unit != 0) fault(line, "the string's data has an odd number of bytes");
    std::vector<std::uint8_t> current;
    for (std::size_t i = 0; i < bytes.size(); i += unit) {
        const bool nul = ansi ? bytes[i] == 0 : (bytes[i] == 0 && bytes[i + 1] == 0);
        if (!nul) {
            current.insert(current.end(), bytes.begin() + i, bytes.begin() + i + unit);
            continue;
        }
        // An empty string ends the list.
        if (current.empty()) break;
        items.push_back(decodeString(current, ansi, line));
        current.clear();
    }
    if (!current.empty()) items.push_back(decodeString(current, ansi, line));
    return items;
}

RegistryEntry decodeHexValue(int type, const HexBytes& data, bool ansi) {
    RegistryEntry entry;
    entry.type = type;
    switch (type) {
        case 1:
        case 2:
            entry.text = decodeString(data.bytes, ansi, data.lastLine);
            break;
        case 7:
            entry.texts = decodeMultiString(data.bytes, ansi, data.lastLine);
            break;
        case 4:
            if (data.bytes.size() != 4) fault(data.lastLine, "a double word needs four bytes");
            entry.number = data.bytes[0] | (data.bytes[1] << 8) | (data.bytes[2] << 16) |
                           (static_cast<std::uint32_t>(data.bytes[3]) << 24);
            break;
        default:
            entry.bytes = data.bytes;
            break;
    }
    return entry;
}

// Parses "name"=data or @=data at lines[index]; index ends on the value's
// last line. Returns nullopt for a deletion ("name"=-).
std::optional<RegistryEntry> parseValue(const std::vector<Line>& lines, std::size_t& index,
                                        bool ansi, std::string& name) {
    const std::string_view text = lines[index].text;
    const std::size_t line = lines[index].number;
    std::size_t position = text.find_first_not_of(" \t");
    if (text[position] == '@') {
        name.clear();
        ++position;
    } else {
        name = parseQuoted(text, position, line);
    }
    position = text.find_first_not_of(" \t", position);
    if (position == std::string_view::npos || text[position] != '=') {
        fault(line, "the value's name is not followed by \"=\"");
    }
    const auto data = trimBlanks(text.substr(position + 1));
    const auto lower = asciiLower(data);
    if (data.empty()) fault(line, "the value has no data");
    if (data == "-") return std::nullopt;
    if (data.front() == '"') {
        std::size_t at = 0;
        RegistryEntry entry;
        entry.type = 1;
        entry.text = parseQuoted(data, at, line);
        if (!trimBlanks(data.substr(at)).empty()) {
            fault(line, "unexpected text after the closing quote");
        }
        return entry;
    }
    if (startsWith(lower, "dword:")) {
        const auto digits = data.substr(6);
        if (digits.empty() || digits.size() > 8)
            fault(line, "a dword needs 1 to 8 hexadecimal digits");
        std::uint32_t number = 0;
        for (const char c : digits) {
            if (hexDigit(c) < 0) fault(line, "a dword needs 1 to 8 hexadecimal digits");
            number = number * 16 + hexDigit(c);
        }
        RegistryEntry entry;
        entry.type = 4;
        entry.number = number;
        return entry;
    }
    if (startsWith(lower, "hex:") || startsWith(lower, "hex(")) {
        int type = 3;
        std::size_t colon = 3;
        if (lower[3] == '(') {
            const auto close = lower.find("):");
            if (close == std::string::npos || close == 4 || close > 12) {
                fault(line, "the value type hex(...) is not understood");
            }
            type = 0;
            for (std::size_t i = 4; i < close; ++i) {
                if (hexDigit(lower[i]) < 0)
                    fault(line, "the value type hex(...) is not understood");
                type = type * 16 + hexDigit(lower[i]);
            }
            colon = close + 1;
        }
        const auto bytes = parseHexBytes(data.substr(colon + 1), lines, index);
        return decodeHexValue(type, bytes, ansi);
    }
    fault(line, "the value's data is not understood (expected \"text\", dword: or hex:)");
}

RegistryFile parseLines(const std::vector<Line>& lines, RegistryFileFormat format) {
    RegistryFile file;
    std::size_t index = 0;
    if (lines.empty()) fault(1, "the file is empty");
    const auto header = trimBlanks(lines[0].text);
    if (header == kHeader5) {
        format.regedit4 = false;
    } else if (header == kHeader4) {
        format.regedit4 = true;
    } else {
        fault(1, "the first line is not \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
    }
    file.format = format;
    std::optional<std::string> currentKey;
    bool keyDeleted = false;
    for (index = 1; index < lines.size(); ++index) {
        const auto text = trimBlanks(lines[index].text);
        const auto line = lines[index].number;
        if (text.empty() || text.front() == ';') continue;
        if (text.front() == '[') {
            if (text.back() != ']') fault(line, "the key's name has no closing \"]\"");
            auto path = text.substr(1, text.size() - 2);
            keyDeleted = !path.empty() && path.front() == '-';
            if (keyDeleted) path.remove_prefix(1);
            currentKey = checkedKeyPath(path, line);
            if (keyDeleted) {
                file.tree.deleteKey(*currentKey);
            } else {
                file.tree.addKey(*currentKey);
            }
            continue;
        }
        if (text.front() != '"' && text.front() != '@') {
            fault(line, "the line is neither a key, a value nor a comment");
        }
        if (!currentKey) fault(line, "a value comes before the first key");
        if (keyDeleted) fault(line, "a value follows a key that is being removed");
        std::string name;
        auto entry = parseValue(lines, index, format.regedit4, name);
        if (entry) {
            entry->name = name;
            file.tree.setValue(*currentKey, std::move(*entry));
        } else {
            file.tree.deleteValue(*currentKey, name);
        }
    }
    return file;
}

}  // namespace

RegistryFile parseRegistryFile(std::string_view bytes, const std::string& fileName) {
    try {
        RegistryFileFormat format;
        const auto text = decodeFile(bytes, format);
        const auto lines = splitLines(text, format);
        return parseLines(lines, format);
    } catch (const RegistryFault& error) {
        throw PlatformError("The registry file " + fileName + " is not valid at line " +
                            std::to_string(error.line) + ": " + error.reason + ".");
    }
}

RegistryFile readRegistryFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw PlatformError("The machine image has no registry file " + file.string() + ".");
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        throw PlatformError("The registry file " + file.string() + " cannot be read.");
    }
    return parseRegistryFile(bytes, file.string());
}

namespace {
std::string encodeForFile(const std::string& utf8, RegistryFileEncoding encoding) {
    switch (encoding) {
        case RegistryFileEncoding::Utf8:
        case RegistryFileEncoding::Utf8WithBom:
            return utf8;
        case RegistryFileEncoding::Ansi: {
            auto bytes = encodeCodePage1252(utf8);
            if (!bytes)
                throw PlatformError(error_number::kInvalidProcedureCall,
                                    "Invalid procedure call or argument");
            return *bytes;
        }
        case RegistryFileEncoding::Utf16LE: {
            std::string out;
            std::size_t position = 0;
            while (position < utf8.size()) {
                auto codePoint = nextUtf8(utf8, position);
                if (!codePoint)
                    throw PlatformError(error_number::kInvalidProcedureCall,
                                        "Invalid procedure call or argument");
                auto put = [&out](char32_t unit) {
                    out += static_cast<char>(unit & 0xFF);
                    out += static_cast<char>((unit >> 8) & 0xFF);
                };
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
    }
    return utf8;
}

// True when the file's last character is a line feed (in its encoding).
bool endsWithLineFeed(const std::filesystem::path& file, RegistryFileEncoding encoding) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const auto size = static_cast<long long>(in.tellg());
    const int width = encoding == RegistryFileEncoding::Utf16LE ? 2 : 1;
    if (size < width) return false;
    in.seekg(size - width);
    char last[2] = {};
    in.read(last, width);
    return last[0] == '\n' && (width == 1 || last[1] == 0);
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
    const std::string lineEnd = format.crLf ? "\r\n" : "\n";
    std::string text;
    if (!endsWithLineFeed(file, format.encoding)) text += lineEnd;
    text += lineEnd + "[" + keyPath + "]" + lineEnd;
    const auto bytes = encodeForFile(text, format.encoding);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) throw PlatformError(error_number::kPermissionDenied, "Permission denied");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw PlatformError(error_number::kPathFileAccessError, "Path/File access error");
}

}  // namespace tessaron
