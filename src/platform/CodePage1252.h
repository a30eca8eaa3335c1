#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaron {

// The single-byte ANSI code page of the machines this program serves
// (Windows-1252), the encoding of every text file on a machine image.
//
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the control characters of the same value, as Windows' own
// conversion does, so every byte string decodes and round-trips.

// Decodes code-page bytes to UTF-8. Bytes that are all ASCII are their own
// UTF-8 form: given as a string to move from, they are returned as they are,
// without a copy.
std::string decodeCodePage1252(std::string_view bytes);
std::string decodeCodePage1252(std::string&& bytes);

// Encodes UTF-8 text to code-page bytes; nullopt when a character has no
// code in the page or the text is not valid UTF-8.
std::optional<std::string> encodeCodePage1252(std::string_view utf8);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes one UTF-8 sequence at position (advanced past it); nullopt for an
// invalid sequence (position left unchanged).
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& position);

}  // namespace tessaron
