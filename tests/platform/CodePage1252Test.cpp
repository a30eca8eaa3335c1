// The code page every text file of a machine image is kept in.
#include <gtest/gtest.h>

#include "platform/CodePage1252.h"

namespace tessaron::testing {
namespace {

std::string allBytes() {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
    return bytes;
}

TEST(CodePage1252, EveryByteDecodesAndEncodesBackToItself) {
    const std::string bytes = allBytes();
    const std::string text = decodeCodePage1252(std::string_view(bytes));
    // ASCII as it is; 0x80 the euro sign, 0x81 (undefined) its control
    // character, 0x9F Y with diaeresis, 0xFF y with diaeresis.
    EXPECT_EQ(text.substr(0, 128), bytes.substr(0, 128));
    EXPECT_EQ(text.substr(128, 5), "\xE2\x82\xAC\xC2\x81");
    EXPECT_EQ(text.substr(text.size() - 2), "\xC3\xBF");
    EXPECT_NE(text.find("\xC5\xB8\xC2\xA0"), std::string::npos);  // 0x9F, 0xA0
    EXPECT_EQ(decodeCodePage1252(std::string(bytes)), text);
    EXPECT_EQ(encodeCodePage1252(text), bytes);
}

TEST(CodePage1252, AsciiTextIsTakenOverWhole) {
    std::string ascii(100000, 'a');
    ascii += "\r\n<key>";
    EXPECT_EQ(decodeCodePage1252(std::string(ascii)), ascii);
    EXPECT_EQ(encodeCodePage1252(ascii), ascii);
    EXPECT_EQ(decodeCodePage1252(std::string_view(ascii + "\xE9")), ascii + "\xC3\xA9");
}

}  // namespace
}  // namespace tessaron::testing
