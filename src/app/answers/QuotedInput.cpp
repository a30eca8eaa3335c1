#include "app/answers/QuotedInput.h"

#include "platform/Text.h"

namespace tessaron::app::answers {
namespace {

// The first `characters` UTF-8 characters of text (a byte that starts no
// sequence counts as one).
std::string_view headOf(std::string_view text, std::size_t characters) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size() && count < characters; ++count) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return text.substr(0, at);
}

std::string cut(std::string_view text, const char* quote) {
    const auto length = utf8Length(text);
    if (length <= kShownInputLength) return quote + std::string(text) + quote;
    return quote + std::string(headOf(text, kShownInputLength)) + "..." + quote + " (" +
           std::to_string(length) + " characters)";
}

}  // namespace

std::string quotedInput(std::string_view text) {
    return cut(text, "\"");
}

std::string shownInput(std::string_view text) {
    return cut(text, "");
}

}  // namespace tessaron::app::answers
