// The value lines of a regedit export: the name, and the data in one of the
// forms regedit writes ("text", dword:, hex:, hex(type):, or - to delete).
#include <algorithm>
#include <array>

#include "platform/WindowsPath.h"
#include "platform/image/RegistryParsing.h"

namespace tessaron::registry_parsing {
namespace {

constexpr std::string_view kCommentOnly = " (only a \";\" comment may follow)";

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

// ---- The data forms ----

using Data = std::optional<RegistryEntry>;  // nullopt: the value is deleted

Data parseStringData(std::string_view rest, ValueContext& context) {
    std::size_t position = 0;
    RegistryEntry entry;
    entry.type = RegistryType::String;
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
    entry.type = RegistryType::DWord;
    // Every digit was found valid above, so each value is 0 to 15.
    for (std::size_t i = 0; i < digits; ++i) {
        entry.number = entry.number * 16 + static_cast<std::uint32_t>(hexDigit(rest[i]));
    }
    return entry;
}

Data parseBinaryData(std::string_view rest, ValueContext& context) {
    return parseHexValue(RegistryType::Binary, rest, context);
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
    return parseHexValue(RegistryType{type}, rest.substr(close + 2), context);
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
