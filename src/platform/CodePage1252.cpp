#include "platform/CodePage1252.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <array>
#include <cerrno>
#include <cstring>
#include <unordered_map>

namespace tessaron {
namespace {

#ifdef _WIN32
// The code point of a byte as Windows' own conversion gives it; nullopt
// where the page has none.
std::optional<char32_t> systemCodePoint(int byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    if (MultiByteToWideChar(1252, MB_ERR_INVALID_CHARS, &in, 1, out, 2) != 1) return std::nullopt;
    return static_cast<char32_t>(out[0]);
}
#else
// The code point of a byte as iconv's table gives it; nullopt where the page
// has none.
std::optional<char32_t> systemCodePoint(int byte) {
    iconv_t converter = iconv_open("UTF-32LE", "CP1252");
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    char in = static_cast<char>(byte);
    unsigned char out[8] = {};
    char* inPointer = &in;
    char* outPointer = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    std::optional<char32_t> codePoint;
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) !=
            static_cast<std::size_t>(-1) &&
        outLeft == sizeof out - 4) {
        codePoint = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
    }
    iconv_close(converter);
    return codePoint;
}
#endif

// The code point of every byte, built once from the system's own table,
// with its UTF-8 form, so that decoding copies a few bytes per byte.
struct CodePageTable {
    std::array<char32_t, 256> toUnicode{};
    // At most three bytes each: the page's code points are below U+10000.
    std::array<std::array<char, 4>, 256> utf8{};
    std::array<unsigned char, 256> utf8Length{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    CodePageTable() {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            // Undefined bytes keep their own value (the control character).
            toUnicode[byte] =
                systemCodePoint(static_cast<int>(byte)).value_or(static_cast<char32_t>(byte));
            std::string form;
            appendUtf8(form, toUnicode[byte]);
            form.copy(utf8[byte].data(), utf8[byte].size());
            utf8Length[byte] = static_cast<unsigned char>(form.size());
        }
        for (std::size_t byte = 0; byte < 256; ++byte) {
            fromUnicode.emplace(toUnicode[byte], static_cast<unsigned char>(byte));
        }
    }
};

const CodePageTable& table() {
    static const CodePageTable instance;
    return instance;
}

// True when no byte is above 0x7F: such a text is its own UTF-8 form.
bool isAscii(std::string_view bytes) {
    unsigned char seen = 0;
    for (const char byte : bytes) seen |= static_cast<unsigned char>(byte);
    return seen < 0x80;
}

std::string decodeWithTable(std::string_view bytes) {
    const auto& codes = table();
    std::size_t length = 0;
    for (const char byte : bytes) length += codes.utf8Length[static_cast<unsigned char>(byte)];
    // Every byte's form is copied whole (four bytes) and the end moved on by
    // its length, so the last one needs room for three more.
    std::string out(length + 3, '\0');
    char* end = out.data();
    for (const char byte : bytes) {
        const auto index = static_cast<unsigned char>(byte);
        std::memcpy(end, codes.utf8[index].data(), 4);
        end += codes.utf8Length[index];
    }
    out.resize(length);
    return out;
}

}  // namespace

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (position + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[position + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return std::nullopt;
    }
    position += length;
    return codePoint;
}

std::string decodeCodePage1252(std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    return decodeWithTable(bytes);
}

std::string decodeCodePage1252(std::string&& bytes) {
    if (isAscii(bytes)) return std::move(bytes);
    return decodeWithTable(bytes);
}

std::optional<std::string> encodeCodePage1252(std::string_view utf8) {
    // ASCII is the same in the page as in UTF-8.
    if (isAscii(utf8)) return std::string(utf8);
    const auto& codes = table().fromUnicode;
    std::string out;
    out.reserve(utf8.size());
    std::size_t position = 0;
    while (position < utf8.size()) {
        const auto codePoint = nextUtf8(utf8, position);
        if (!codePoint) return std::nullopt;
        const auto found = codes.find(*codePoint);
        if (found == codes.end()) return std::nullopt;
        out += static_cast<char>(found->second);
    }
    return out;
}

}  // namespace tessaron
