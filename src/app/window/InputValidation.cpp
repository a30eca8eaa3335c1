// The install button's check of the values it is about to hand to the run:
// each one either fits where it is written or is refused before anything on
// the machine changes.
#include "app/window/InputValidation.h"

#include <cstdio>

#include "app/window/ControlCatalogue.h"
#include "platform/CodePage1252.h"

namespace tessaron::app::window {
namespace {

// Characters a value may not hold anywhere: C0 controls (tab, CR and LF
// among them), DEL and the C1 controls U+0080 to U+009F. They would end a
// config.inc statement or a command line, or change a metabase list.
bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Decodes one UTF-8 character; a byte that starts no valid sequence counts
// as one character of its own value (the record holds UTF-8 text).
char32_t nextCharacter(const std::string& text, std::size_t& at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = byte < 0x80         ? 1
                         : (byte >> 5) == 6  ? 2
                         : (byte >> 4) == 14 ? 3
                         : (byte >> 3) == 30 ? 4
                                             : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return byte;
    }
    char32_t c = length == 1 ? byte : byte & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return byte;
        }
        c = (c << 6) | (next & 0x3F);
    }
    at += length;
    return c;
}

bool isNumberUpTo(const std::string& text, unsigned long low, unsigned long high) {
    if (text.empty() || text.size() > 5) return false;
    unsigned long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + static_cast<unsigned long>(c - '0');
    }
    return number >= low && number <= high;
}

bool isIpv4(const std::string& text) {
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const auto dot = text.find('.', start);
        const bool last = part == 3;
        if (last != (dot == std::string::npos)) return false;
        const auto piece = text.substr(start, last ? std::string::npos : dot - start);
        if (piece.size() > 3 || !isNumberUpTo(piece, 0, 255)) return false;
        start = dot + 1;
    }
    return true;
}

// Why a value cannot be stored in the code page of config.inc and the
// metabase (Windows-1252): its first character outside it, or its first
// byte that is not UTF-8. Checked for every value before the run, so that a
// value the files cannot hold stops nothing half-way.
std::optional<std::string> codePageProblem(const std::string& value) {
    if (encodeCodePage1252(value)) return std::nullopt;
    for (std::size_t at = 0; at < value.size();) {
        const std::size_t start = at;
        const auto c = nextUtf8(value, at);
        if (!c) return "is not valid UTF-8 text";
        if (encodeCodePage1252(std::string_view(value).substr(start, at - start))) continue;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*c));
        return "contains the character \"" + value.substr(start, at - start) + "\" (" + code +
               "), which the configuration files (Windows-1252) cannot hold";
    }
    return "is not valid UTF-8 text";
}

std::string withoutColon(std::string caption) {
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) caption.pop_back();
    return caption;
}

}  // namespace

std::optional<std::string> valueProblem(const std::string& value, ValueShape shape, int maxLength) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < value.size(); ++characters) {
        if (isControl(nextCharacter(value, at))) {
            return "contains a control character (such as a tab or a line break)";
        }
    }
    if (auto problem = codePageProblem(value)) return problem;
    switch (shape) {
        case ValueShape::Port:
            if (!isNumberUpTo(value, 1, 65535)) return "is not a whole number from 1 to 65535";
            break;
        case ValueShape::Ipv4:
            if (!isIpv4(value)) {
                return "is not an IPv4 address (four numbers from 0 to 255 joined by dots, such "
                       "as 10.0.0.5)";
            }
            break;
        case ValueShape::Ipv4OrEmpty:
            if (!value.empty() && !isIpv4(value)) {
                return "is neither empty nor an IPv4 address (four numbers from 0 to 255 joined "
                       "by dots, such as 10.0.0.5)";
            }
            break;
        case ValueShape::Text:
            break;
    }
    if (maxLength > 0 && characters > static_cast<std::size_t>(maxLength)) {
        return "is longer than the " + std::to_string(maxLength) +
               " characters that the database stores";
    }
    return std::nullopt;
}

std::optional<InputProblem> fieldProblem(const Field& row, const SettingsRecord& settings) {
    if (row.label.empty()) return std::nullopt;
    auto problem = valueProblem(settings.*(row.field), row.shape, row.maxLength);
    if (!problem) return std::nullopt;
    const FormDesign& form = mainFormDesign();
    const ControlDesign* control = findControlDesign(form, row.control);
    const ControlDesign* label = findControlDesign(form, row.label);
    return InputProblem{
        std::string(row.control), label ? withoutColon(label->caption) : std::string(row.control),
        control && control->tab >= 0 ? form.tabCaptions.at(static_cast<std::size_t>(control->tab))
                                     : "",
        std::move(*problem)};
}

std::vector<InputProblem> checkAllSettingsInput(const SettingsRecord& settings) {
    std::vector<InputProblem> problems;
    for (const auto& row : fieldTable()) {
        if (auto problem = fieldProblem(row, settings)) problems.push_back(std::move(*problem));
    }
    return problems;
}

std::optional<InputProblem> checkSettingsInput(const SettingsRecord& settings) {
    auto problems = checkAllSettingsInput(settings);
    if (problems.empty()) return std::nullopt;
    return std::move(problems.front());
}

namespace messages {

Message valueRefused(const InputProblem& problem) {
    return {10, "Invalid Setting",
            "The value of \"" + problem.caption + "\" on the " + problem.tab + " tab " +
                problem.problem + ".  Please correct it and try again.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message valuesRefused(const std::vector<InputProblem>& problems) {
    if (problems.size() == 1) return valueRefused(problems.front());
    std::string text = "These values cannot be used:\n";
    for (const auto& problem : problems) {
        text += "\n- \"" + problem.caption + "\" on the " + problem.tab + " tab " +
                problem.problem + ".";
    }
    text += "\n\nPlease correct them and try again.";
    return {10, "Invalid Setting", text, MessageIcon::Error, MessageButtons::Ok};
}

}  // namespace messages

}  // namespace tessaron::app::window
