// Values written as hexadecimal bytes (hex: and hex(type):), continued over
// lines with a backslash, and their decoding by type.
#include "platform/CodePage1252.h"
#include "platform/image/RegistryParsing.h"

namespace tessaron::registry_parsing {
namespace {

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
                fault(line,
                      "unexpected text after the backslash that continues the value (only a "
                      "\";\" comment may follow)");
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
            current.insert(current.end(), bytes.data() + i, bytes.data() + i + unit);
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

RegistryEntry decodeHexValue(RegistryType type, const HexBytes& data, bool ansi) {
    RegistryEntry entry;
    entry.type = type;
    switch (type) {
        case RegistryType::String:
        case RegistryType::ExpandString:
            entry.text = decodeString(data.bytes, ansi, data.lastLine);
            break;
        case RegistryType::MultiString:
            entry.texts = decodeMultiString(data.bytes, ansi, data.lastLine);
            break;
        case RegistryType::DWord:
            if (data.bytes.size() != 4) fault(data.lastLine, "a double word needs four bytes");
            entry.number = static_cast<std::uint32_t>(data.bytes[0]) |
                           (static_cast<std::uint32_t>(data.bytes[1]) << 8) |
                           (static_cast<std::uint32_t>(data.bytes[2]) << 16) |
                           (static_cast<std::uint32_t>(data.bytes[3]) << 24);
            break;
        default:
            entry.bytes = data.bytes;
            break;
    }
    return entry;
}

}  // namespace

RegistryEntry parseHexValue(RegistryType type, std::string_view first, ValueContext& context) {
    return decodeHexValue(type, parseHexBytes(first, context), context.ansi);
}

}  // namespace tessaron::registry_parsing
