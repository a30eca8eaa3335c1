#include "run/EarlierTemporaryNames.h"

#include <algorithm>
#include <cstddef>

#include "platform/Text.h"

namespace tessaron {
namespace {

struct EarlierForm {
    TemporaryPlace place;
    // Literal text, compared without regard to case, and fields in braces:
    // {hex8}, {n}, {d10}, {stamp} (see the header).
    std::string_view pattern;
};

constexpr EarlierForm kEarlierForms[] = {
    {TemporaryPlace::PanelFolder, "config.inc.tmp-{hex8}"},
    {TemporaryPlace::PanelFolder, ".config.inc.{n}.tmp"},
    {TemporaryPlace::PanelFolder, ".config.inc.{stamp}.bak.{n}.tmp"},
    {TemporaryPlace::Inetsrv, "MetaBase.xml.saving"},
    {TemporaryPlace::Inetsrv, ".MetaBase.xml.{n}.tmp"},
    {TemporaryPlace::History, ".MetaBase_{d10}_{d10}.xml.{n}.tmp"},
};

constexpr std::size_t kNoMatch = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitsAt(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && isDigit(text[count])) ++count;
    return count;
}

// Exactly `count` characters that pass `accepts`.
template <typename Accepts>
std::size_t exactly(std::string_view text, std::size_t count, Accepts accepts) {
    if (text.size() < count) return kNoMatch;
    for (std::size_t i = 0; i < count; ++i) {
        if (!accepts(text[i])) return kNoMatch;
    }
    return count;
}

// A number as std::to_string writes it, of at most maxDigits digits.
std::size_t numberAt(std::string_view text, std::size_t maxDigits) {
    const std::size_t count = digitsAt(text);
    if (count == 0 || count > maxDigits || (count > 1 && text[0] == '0')) return kNoMatch;
    return count;
}

// "YYYYMMDD-HHMMSS", or that with "-<number>" for a second copy in the same
// second.
std::size_t stampAt(std::string_view text) {
    if (exactly(text, 8, isDigit) == kNoMatch || text.size() < 9 || text[8] != '-' ||
        exactly(text.substr(9), 6, isDigit) == kNoMatch) {
        return kNoMatch;
    }
    constexpr std::size_t kStamp = 15;
    if (text.size() > kStamp + 1 && text[kStamp] == '-') {
        const std::size_t number = numberAt(text.substr(kStamp + 1), 9);
        if (number != kNoMatch) return kStamp + 1 + number;
    }
    return kStamp;
}

// The length of the field's text at the start of text, or kNoMatch.
std::size_t fieldAt(std::string_view field, std::string_view text) {
    if (field == "hex8") {
        return exactly(text, 8, [](char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); });
    }
    if (field == "n") return numberAt(text, 6);
    if (field == "d10") return exactly(text, 10, isDigit);
    if (field == "stamp") return stampAt(text);
    return kNoMatch;
}

bool matches(std::string_view pattern, std::string_view name) {
    while (!pattern.empty()) {
        if (pattern.front() == '{') {
            const auto close = pattern.find('}');
            const std::size_t length = fieldAt(pattern.substr(1, close - 1), name);
            if (length == kNoMatch) return false;
            pattern.remove_prefix(close + 1);
            name.remove_prefix(length);
            continue;
        }
        const std::size_t literal = std::min(pattern.find('{'), pattern.size());
        if (name.size() < literal ||
            !equalsIgnoreCase(pattern.substr(0, literal), name.substr(0, literal))) {
            return false;
        }
        pattern.remove_prefix(literal);
        name.remove_prefix(literal);
    }
    return name.empty();
}

}  // namespace

bool isEarlierTemporaryName(TemporaryPlace place, std::string_view name) {
    for (const auto& form : kEarlierForms) {
        if (form.place == place && matches(form.pattern, name)) return true;
    }
    return false;
}

}  // namespace tessaron
