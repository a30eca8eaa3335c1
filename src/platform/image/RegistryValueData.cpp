// The value lines of a regedit export: the name, and the data in one of the
// forms regedit writes ("text", dword:, hex:, hex(type):, or - to delete).
#include <algorithm>
#include <array>

#include "platform/WindowsPath.h"
#include "platform/image/CodePage1252.h"
#include "platform/image/RegistryParsing.h"

namespace tessaron::registry_parsing {
namespace {

constexpr std::string_view kCommentOnly = " (only a \";\" comment may follow)";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::size_t lineNumber(const ValueContext& context) {
    return context.lines[context.index].number;
}

// ---- Quoted texts ----

// The escapes a quoted text may hold. Any other character after a backslash
// is taken as itself, as regedit does, with a warning.
struct Escape {
    char written;
    char meaning;
};
constexpr std::array<Escape, 4> kEscapes = {{{'\\', '\\'}, {'"', '"'}, {'n', '\n'}, {'r', '\r'}}};

// Bytes of the UTF-8 character that starts at `position`.
std::size_t characterLength(std::string_view text, std::size_t position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, text.size() - position);
}

// Reads a quoted text whose opening quote is just before `position`; leaves
// position after the closing quote.
std::string parseQuoted(std::string_view text, std::size_t& position, ValueContext& context) {
    const auto line = lineNumber(context);
    std::string result;
    while (position < text.size()) {
        const char c = text[position++];
        if (c == '"') return result;
        if (c != '\\') {
            result += c;
            continue;
        }
        if (position >= text.size()) break;
        const auto escape = std::find_if(kEscapes.begin(), kEscapes.end(), [&](const Escape& e) {
            return e.written == text[position];
        });
        if (escape != kEscapes.end()) {
            result += escape->meaning;
            ++position;
            continue;
        }
        if (text[position] == '0') fault(line, "a quoted text cannot hold \\0");
        const auto character = text.substr(position, characterLength(text, position));
        context.warnings.push_back(
            {line, "unknown escape \\" + std::string(character) + " in a quoted text, read as \"" +
                       std::string(character) + "\" (a backslash is written \\\\)"});
        result += character;
        position += character.size();
    }
    fault(line, "the quoted text has no closing quote");
}

// ---- Hexadecimal bytes ----

enum class FragmentEnd { Value, Continued };

std::string_view tokenAt(std::string_view text, std::size_t position) {
    const auto end = text.find_first_of(",;\\", position);
    return trimBlanks(text.substr(position, end == std::string_view::npos ? end : end - position));
}

// Reads the comma-separated bytes of one line's part. The value goes on at
// the next line when a backslash follows a comma (or stands first).
FragmentEnd readHexFragment(std::string_view text, std::vector<std::uint8_t>& bytes,
                            std::size_t line) {
    std::size_t position = 0;
    auto skipBlanks = [&] {
        while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) {
            ++position;
        }
    };
    while (true) {
        skipBlanks();
        if (position >= text.size() || text[position] == ';') return FragmentEnd::Value;
        if (text[position] == '\\') {
            if (!onlyCommentFollows(text.substr(position + 1))) {
                fault(line, "unexpected text after the backslash that continues the value" +
                                std::string(kCommentOnly));
            }
            return FragmentEnd::Continued;
        }
        const auto token = tokenAt(text, position);
        if (token.empty()) fault(line, "a byte is missing between commas");
        if (token.size() > 2 || hexDigit(token[0]) < 0 ||
            (token.size() == 2 && hexDigit(token[1]) < 0)) {
            fault(line, "\"" + std::string(token) + "\" is not a hexadecimal byte");
        }
        bytes.push_back(static_cast<std::uint8_t>(
            token.size() == 1 ? hexDigit(token[0]) : hexDigit(token[0]) * 16 + hexDigit(token[1])));
        position = static_cast<std::size_t>(token.data() - text.data()) + token.size();
        skipBlanks();
        if (position >= text.size() || text[position] == ';') return FragmentEnd::Value;
        if (text[position] == '\\') {
            fault(line, "the backslash that continues a value must follow a comma");
        }
        ++position;  // the comma
    }
}

struct HexBytes {
    std::vector<std::uint8_t> bytes;
    std::size_t lastLine;
};

// Reads the bytes that start in `first` and follow continuation lines.
// Blank lines and ";" comment lines may stand between the continued lines.
HexBytes parseHexBytes(std::string_view first, ValueContext& context) {
    HexBytes result;
    result.lastLine = lineNumber(context);
    auto end = readHexFragment(first, result.bytes, result.lastLine);
    while (end == FragmentEnd::Continued) {
        const auto continuedFrom = result.lastLine;
        std::string_view text;
        do {
            if (context.index + 1 >= context.lines.size()) {
                fault(continuedFrom, "the file ends inside a value continued on the next line");
            }
            text = trimBlanks(context.lines[++context.index].text);
        } while (text.empty() || text.front() == ';');
        result.lastLine = lineNumber(context);
        if (hexDigit(text.front()) < 0) {
            fault(result.lastLine, "the value continued from line " +
                                       std::to_string(continuedFrom) +
                                       " does not go on with a hexadecimal byte (only blank "
                                       "lines and \";\" comment lines may come between)");
        }
        end = readHexFragment(text, result.bytes, result.lastLine);
    }
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

RegistryEntry decodeHexValue(std::uint32_t type, const HexBytes& data, bool ansi) {
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

// ---- The data forms ----

using Data = std::optional<RegistryEntry>;  // nullopt: the value is deleted

Data parseStringData(std::string_view rest, ValueContext& context) {
    std::size_t position = 0;
    RegistryEntry entry;
    entry.type = 1;
    entry.text = parseQuoted(rest, position, context);
    if (!onlyCommentFollows(rest.substr(position))) {
        fault(lineNumber(context),
              "unexpected text after the closing quote" + std::string(kCommentOnly));
    }
    return entry;
}

Data parseDwordData(std::string_view rest, ValueContext& context) {
    rest = rest.substr(std::min(rest.size(), rest.find_first_not_of(" \t")));
    std::size_t digits = 0;
    while (digits < rest.size() && hexDigit(rest[digits]) >= 0) ++digits;
    if (digits == 0 || digits > 8) {
        fault(lineNumber(context), "a dword needs 1 to 8 hexadecimal digits" +
                                       (digits > 8 ? ", not " + std::to_string(digits) : ""));
    }
    if (!onlyCommentFollows(rest.substr(digits))) {
        fault(lineNumber(context),
              "unexpected text after the dword's digits" + std::string(kCommentOnly));
    }
    RegistryEntry entry;
    entry.type = 4;
    for (std::size_t i = 0; i < digits; ++i) entry.number = entry.number * 16 + hexDigit(rest[i]);
    return entry;
}

Data parseBinaryData(std::string_view rest, ValueContext& context) {
    return decodeHexValue(3, parseHexBytes(rest, context), context.ansi);
}

// hex(type): with the type in hexadecimal, at most ffffffff.
Data parseTypedHexData(std::string_view rest, ValueContext& context) {
    const auto close = rest.find(')');
    if (close == std::string_view::npos || close == 0 || rest.substr(close, 2) != "):") {
        fault(lineNumber(context), "the value type hex(...) is not understood");
    }
    auto digits = rest.substr(0, close);
    for (const char c : digits) {
        if (hexDigit(c) < 0)
            fault(lineNumber(context), "the value type hex(...) is not understood");
    }
    digits.remove_prefix(std::min(digits.size() - 1, digits.find_first_not_of('0')));
    if (digits.size() > 8) {
        fault(lineNumber(context), "the value type hex(...) is larger than ffffffff");
    }
    std::uint32_t type = 0;
    for (const char c : digits) type = type * 16 + static_cast<std::uint32_t>(hexDigit(c));
    return decodeHexValue(type, parseHexBytes(rest.substr(close + 2), context), context.ansi);
}

Data parseDeletion(std::string_view rest, ValueContext& context) {
    if (!onlyCommentFollows(rest)) {
        fault(lineNumber(context), "unexpected text after \"-\"" + std::string(kCommentOnly));
    }
    return std::nullopt;
}

struct DataForm {
    std::string_view prefix;  // compared without regard to case
    Data (*parse)(std::string_view rest, ValueContext& context);
};

constexpr std::array<DataForm, 5> kDataForms = {{
    {"\"", parseStringData},
    {"dword:", parseDwordData},
    {"hex:", parseBinaryData},
    {"hex(", parseTypedHexData},
    {"-", parseDeletion},
}};

}  // namespace

std::optional<RegistryEntry> parseValueLine(ValueContext& context, std::string& name) {
    const std::string_view text = context.lines[context.index].text;
    const auto line = lineNumber(context);
    std::size_t position = text.find_first_not_of(" \t");
    if (text[position] == '@') {
        name.clear();
        ++position;
    } else {
        ++position;  // the opening quote
        name = parseQuoted(text, position, context);
    }
    position = text.find_first_not_of(" \t", position);
    if (position == std::string_view::npos || text[position] != '=') {
        fault(line, "the value's name is not followed by \"=\"");
    }
    const auto data = trimBlanks(text.substr(position + 1));
    if (data.empty()) fault(line, "the value has no data");
    for (const auto& form : kDataForms) {
        if (equalsIgnoreCase(data.substr(0, form.prefix.size()), form.prefix)) {
            return form.parse(data.substr(form.prefix.size()), context);
        }
    }
    fault(line, "the value's data is not understood (expected \"text\", dword: or hex:)");
}

}  // namespace tessaron::registry_parsing
