// The text of a regedit export: its encoding and its lines.
#include <algorithm>

#include "platform/CodePage1252.h"
#include "platform/image/RegistryParsing.h"

namespace tessaron::registry_parsing {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Counts lines the way the file is split: CR LF, a lone LF and a lone CR
// each end one line.
class LineCounter {
public:
    void see(char32_t c) {
        if (c == '\r' || (c == '\n' && !afterCr_)) ++line_;
        afterCr_ = c == '\r';
    }
    std::size_t line() const { return line_; }

private:
    std::size_t line_ = 1;
    bool afterCr_ = false;
};

void checkUtf8(std::string_view text) {
    LineCounter counter;
    std::size_t position = 0;
    while (position < text.size()) {
        const auto codePoint = nextUtf8(text, position);
        if (!codePoint) {
            fault(counter.line(),
                  "the text is not valid UTF-8 (a file saved as UTF-16 needs its byte order mark)");
        }
        if (*codePoint == 0) fault(counter.line(), "the line holds a NUL character");
        counter.see(*codePoint);
    }
}

void checkAnsi(std::string_view bytes) {
    const auto nul = bytes.find('\0');
    if (nul == std::string_view::npos) return;
    LineCounter counter;
    for (const char c : bytes.substr(0, nul)) counter.see(static_cast<unsigned char>(c));
    fault(counter.line(), "the line holds a NUL character");
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
        checkAnsi(bytes);
        return decodeCodePage1252(bytes);
    }
    format.encoding = RegistryFileEncoding::Utf8;
    checkUtf8(bytes);
    return std::string(bytes);
}

RegistryLineEnd lineEndAt(const std::string& text, std::size_t at) {
    if (text[at] == '\n') return RegistryLineEnd::Lf;
    return at + 1 < text.size() && text[at + 1] == '\n' ? RegistryLineEnd::CrLf
                                                        : RegistryLineEnd::Cr;
}

std::vector<Line> splitLines(const std::string& text, RegistryFileFormat& format) {
    std::vector<Line> lines;
    std::size_t start = 0;
    bool sawLineEnd = false;
    while (start < text.size()) {
        auto end = text.find_first_of("\r\n", start);
        lines.push_back({lines.size() + 1, text.substr(start, end - start)});
        if (end == std::string::npos) break;
        const auto lineEnd = lineEndAt(text, end);
        if (!sawLineEnd) format.lineEnd = lineEnd;
        sawLineEnd = true;
        start = end + (lineEnd == RegistryLineEnd::CrLf ? 2 : 1);
    }
    format.endsWithLineEnd = text.empty() || text.back() == '\n' || text.back() == '\r';
    return lines;
}

}  // namespace

void fault(std::size_t line, std::string reason) {
    throw RegistryFault{line, std::move(reason)};
}

std::string decodeUtf16LE(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    LineCounter counter;
    std::size_t position = 0;
    auto unitAt = [&](std::size_t at) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    while (position < bytes.size()) {
        if (position + 1 >= bytes.size()) {
            fault(counter.line(), "the file ends in the middle of a character");
        }
        char32_t codePoint = unitAt(position);
        position += 2;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            if (position + 1 >= bytes.size()) {
                fault(counter.line(), "the file ends in the middle of a character");
            }
            const char16_t low = unitAt(position);
            if (low < 0xDC00 || low > 0xDFFF) fault(counter.line(), "the text is not valid UTF-16");
            position += 2;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
        } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            fault(counter.line(), "the text is not valid UTF-16");
        }
        if (codePoint == 0) fault(counter.line(), "the line holds a NUL character");
        counter.see(codePoint);
        appendUtf8(out, codePoint);
    }
    return out;
}

std::vector<Line> decodeLines(std::string_view bytes, RegistryFileFormat& format) {
    return splitLines(decodeFile(bytes, format), format);
}

bool onlyCommentFollows(std::string_view rest) {
    rest = trimBlanks(rest);
    return rest.empty() || rest.front() == ';';
}

}  // namespace tessaron::registry_parsing
