// config.inc: the reader that takes an existing file apart, on any bytes in
// the code page; and the writer's quoting, whose literal must read back as
// the value (the panel's view of the file).
#include <string>

#include "FuzzInput.h"
#include "platform/CodePage1252.h"
#include "settings/ConfigFileBody.h"
#include "settings/ConfigFileReader.h"
#include "settings/ConvertASPText.h"

namespace {

// What VBScript makes of a string literal: the text between the outer
// quotes with each doubled quote read as one.
std::string literalValue(const std::string& literal) {
    std::string value;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        if (literal[i] == '"') ++i;
        value += literal[i];
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaron;
    const std::string text = decodeCodePage1252(fuzz::asText(data, size));
    for (const auto& line : parseConfigLines(text)) unquoteConfigValue(line.value);

    // A value written as a site line comes back whole on one line, with no
    // quote that ends the literal early.
    const std::string value = withoutLineBreaks(text);
    const std::string line = "SharedSecureServer = " + vbscriptStringLiteral(value);
    const auto lines = parseConfigLines(line + "\r\n");
    if (lines.size() != 1 || literalValue(line.substr(line.find('=') + 2)) != value) {
        __builtin_trap();
    }
    // The body's conversion leaves no doubled backslash and no lone quote.
    const std::string converted = ConvertASPText(value);
    if (converted.find("\\\\") != std::string::npos) __builtin_trap();
    for (std::size_t i = 0; i < converted.size(); ++i) {
        if (converted[i] == '"' && (i + 1 >= converted.size() || converted[++i] != '"')) {
            __builtin_trap();
        }
    }
    return 0;
}
