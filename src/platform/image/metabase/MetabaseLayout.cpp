#include "platform/image/metabase/MetabaseLayout.h"

#include <algorithm>
#include <cctype>

#include "platform/CodePage1252.h"
#include "platform/Text.h"

namespace tessaron::metabase_layout {
namespace {

// Skips a start tag from its '<'; returns the offset just after '>' and
// whether it closed itself. Quoted attribute values may hold '>'.
std::pair<std::size_t, bool> skipStartTag(std::string_view text, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return {i + 1, text[i - 1] == '/'};
        }
    }
    return {text.size(), false};
}

std::size_t skipPast(std::string_view text, std::size_t from, std::string_view marker) {
    const auto found = text.find(marker, from);
    return found == std::string_view::npos ? text.size() : found + marker.size();
}

// Escapes a value for an attribute. Each line break of a list becomes the
// file's line break and IIS's indentation; indentation read with the value
// is dropped first, so a rewritten list keeps one level of it.
void appendEscaped(std::string& out, std::string_view value, std::string_view lineBreak) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (const char* entity = xmlEntity(c)) {
            out += entity;
            continue;
        }
        switch (c) {
            // As references, so that reading the file back gives them again
            // instead of a list separator (CR) or a blank (tab).
            case '\r':
                out += "&#13;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += lineBreak;
                while (i + 1 < value.size() && value[i + 1] == '\t') ++i;
                break;
            default:
                out += c;
        }
    }
}

}  // namespace

bool xmlCanHold(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        const auto c = nextUtf8(text, position);
        if (!c) return false;
        const bool allowed = *c == 0x9 || *c == 0xA || *c == 0xD || (*c >= 0x20 && *c <= 0xD7FF) ||
                             (*c >= 0xE000 && *c <= 0xFFFD) || *c >= 0x10000;
        if (!allowed) return false;
    }
    return true;
}

ElementExtent scanElement(std::string_view text, std::size_t begin) {
    const auto [startTagEnd, selfClosing] = skipStartTag(text, begin);
    if (selfClosing) return {startTagEnd, startTagEnd, startTagEnd, true};
    int depth = 1;
    std::size_t i = startTagEnd;
    while (i < text.size()) {
        const auto open = text.find('<', i);
        if (open == std::string_view::npos) break;
        const auto rest = text.substr(open);
        if (rest.starts_with("<!--")) {
            i = skipPast(text, open + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            i = skipPast(text, open + 9, "]]>");
        } else if (rest.starts_with("<?")) {
            i = skipPast(text, open + 2, "?>");
        } else if (rest.starts_with("</")) {
            i = skipPast(text, open + 2, ">");
            if (--depth == 0) return {startTagEnd, open, i, false};
        } else {
            const auto [after, closed] = skipStartTag(text, open);
            if (!closed) ++depth;
            i = after;
        }
    }
    return {startTagEnd, text.size(), text.size(), false};
}

std::string renderKey(std::string_view className, std::string_view location,
                      const Properties& properties, std::string_view inner,
                      std::string_view lineBreak) {
    const std::string valueBreak = std::string(lineBreak) + "\t\t\t";
    std::string out;
    out += '<';
    out += className;
    out += "\tLocation =\"";
    appendEscaped(out, location, valueBreak);
    out += '"';
    out += lineBreak;
    for (const auto& property : properties) {
        out += "\t\t";
        out += property.first;
        out += "=\"";
        appendEscaped(out, property.second, valueBreak);
        out += '"';
        out += lineBreak;
    }
    out += "\t>";
    out += inner;
    out += "</";
    out += className;
    out += '>';
    return out;
}

}  // namespace tessaron::metabase_layout
