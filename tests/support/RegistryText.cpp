#include "support/RegistryText.h"

namespace tessaron::testing {

std::string utf16le(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = lead;
        int length = 1;
        if (lead >= 0xE0) {
            c = lead & 0x0F, length = 3;
        } else if (lead >= 0xC0) {
            c = lead & 0x1F, length = 2;
        }
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::string regeditExport(const std::string& utf8Text) {
    return "\xFF\xFE" + utf16le(utf8Text);
}

std::string hexList(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!out.empty()) out += ",";
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

std::string expandableValue(const std::string& utf8) {
    return "hex(2):" + hexList(utf16le(utf8) + std::string(2, '\0'));
}

std::string multiStringValue(const std::vector<std::string>& items) {
    std::string bytes;
    for (const auto& item : items) bytes += utf16le(item) + std::string(2, '\0');
    return "hex(7):" + hexList(bytes + std::string(2, '\0'));
}

}  // namespace tessaron::testing
