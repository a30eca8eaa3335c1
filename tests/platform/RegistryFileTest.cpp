#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ImageTestText.h"
#include "platform/Failure.h"
#include "platform/RegistryValue.h"
#include "platform/image/MachineImage.h"
#include "support/TempMachine.h"

namespace tessaron {
namespace {

using testing::TempMachine;

// "xx,xx,..." of the given bytes.
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

// Every value type this program reads, as regedit 5 writes them.
std::string everyValueType() {
    using testing::utf16le;
    const auto expand = utf16le("%SystemRoot%\\system32") + std::string(2, '\0');
    const auto multi =
        utf16le("one") + std::string(2, '\0') + utf16le("two") + std::string(4, '\0');
    const auto half = expand.size() / 2;
    return "Windows Registry Editor Version 5.00\n"
           "\n"
           "; exported for the test\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
           "\"SystemRoot\"=\"C:\\\\WINDOWS\"\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
           "@=\"default value\"\n"
           "\"Plain\"=\"C:\\\\Path \\\"quoted\\\"\"\n"
           "\"Number\"=dword:0000002a\n"
           "\"Bytes\"=hex:01,ff,\\\n"
           "  10\n"
           "\"Expand\"=hex(2):" +
           hexList(expand.substr(0, half)) +
           ",\\\n"
           "  " +
           hexList(expand.substr(half)) +
           "\n"
           "\"Multi\"=hex(7):" +
           hexList(multi) +
           "\n"
           "\"HexString\"=hex(1):" +
           hexList(utf16le("hex text") + std::string(2, '\0')) +
           "\n"
           "\"HexDword\"=hex(4):2a,01,00,00\n"
           "\"Quad\"=hex(b):01,00,00,00,00,00,00,00\n"
           "\"Unicode\"=\"Caf\xC3\xA9 \xE2\x82\xAC\"\n";
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

struct Encoding {
    const char* name;
    std::string (*encode)(const std::string&);
};

const Encoding kEncodings[] = {
    {"Utf16LeWithBomCrLf",
     [](const std::string& t) { return testing::regeditExport(withCrLf(t)); }},
    {"Utf8Lf", [](const std::string& t) { return t; }},
    {"Utf8WithBomCrLf", [](const std::string& t) { return "\xEF\xBB\xBF" + withCrLf(t); }},
};

class RegistryEncodings : public ::testing::TestWithParam<Encoding> {};

TEST_P(RegistryEncodings, ReadsEveryValueType) {
    TempMachine machine;
    machine.writeRegistry(GetParam().encode(everyValueType()));
    MachineImage image(machine.root());
    auto& system = image.System();
    const std::string key = "SOFTWARE\\Test";

    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "")), "default value");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "Plain")), "C:\\Path \"quoted\"");
    EXPECT_EQ(std::get<std::uint32_t>(system.ReadRegistryValue(key, "Number")), 42u);
    EXPECT_EQ(std::get<std::vector<std::uint8_t>>(system.ReadRegistryValue(key, "Bytes")),
              (std::vector<std::uint8_t>{0x01, 0xFF, 0x10}));
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "Expand")),
              "C:\\WINDOWS\\system32");
    EXPECT_EQ(std::get<std::vector<std::string>>(system.ReadRegistryValue(key, "Multi")),
              (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "HexString")), "hex text");
    EXPECT_EQ(std::get<std::uint32_t>(system.ReadRegistryValue(key, "HexDword")), 298u);
    // A type this program does not read gives the empty text, as a missing value.
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "Quad")), "");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "Unicode")),
              "Caf\xC3\xA9 \xE2\x82\xAC");
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryEncodings, ::testing::ValuesIn(kEncodings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryFile, ReadsRegedit4InTheAnsiCodePage) {
    TempMachine machine;
    // Strings and the data of expandable and multi-strings are ANSI bytes.
    machine.writeRegistry(
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"SystemRoot\"=\"C:\\\\WINNT\"\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n"
        "\"Name\"=\"Caf\xE9\"\r\n"
        "\"Expand\"=hex(2):" +
        hexList(std::string("%SystemRoot%\\T\xE9mp") + '\0') +
        "\r\n"
        "\"Multi\"=hex(7):" +
        hexList(std::string("a\0b\xE9\0\0", 6)) + "\r\n");
    MachineImage image(machine.root());
    auto& system = image.System();
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Test", "Name")),
              "Caf\xC3\xA9");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Test", "Expand")),
              "C:\\WINNT\\T\xC3\xA9mp");
    EXPECT_EQ(
        std::get<std::vector<std::string>>(system.ReadRegistryValue("SOFTWARE\\Test", "Multi")),
        (std::vector<std::string>{"a", "b\xC3\xA9"}));
    EXPECT_EQ(system.GetWindowsDir(), "C:\\WINNT");
}

TEST(RegistryFile, LaterSectionsMergeReplaceAndRemove) {
    TempMachine machine;
    machine.writeRegistry(
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
        "\"Kept\"=\"1\"\n"
        "\"Replaced\"=\"old\"\n"
        "\"Removed\"=\"x\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone\\Below]\n"
        "\"v\"=\"1\"\n"
        "[hkey_local_machine\\software\\TEST]\n"
        "\"REPLACED\"=\"new\"\n"
        "\"Removed\"=-\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n");
    MachineImage image(machine.root());
    auto& system = image.System();
    EXPECT_EQ(registryValueText(system.ReadRegistryValue("SOFTWARE\\Test", "Kept")), "1");
    EXPECT_EQ(registryValueText(system.ReadRegistryValue("SOFTWARE\\Test", "replaced")), "new");
    EXPECT_EQ(registryValueText(system.ReadRegistryValue("SOFTWARE\\Test", "Removed")), "");
    EXPECT_EQ(registryValueText(system.ReadRegistryValue("SOFTWARE\\Gone\\Below", "v")), "");
}

struct Malformed {
    const char* name;
    std::string bytes;
    int line;
    std::string reason;
};

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
const std::string kKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n";

std::vector<Malformed> malformedFiles() {
    return {
        {"Empty", "", 1, "the file is empty"},
        {"NoHeader", "Windows Registry Editor Version 4.00\n", 1,
         "the first line is not \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\""},
        {"UnknownEscape", kHeader + kKey + "\"Dir\"=\"C:\\WINDOWS\"\n", 4,
         "unknown escape \\W in a quoted text (write a backslash as \\\\)"},
        {"UnterminatedText", kHeader + kKey + "\"Dir\"=\"C:\\\\WINDOWS\n", 4,
         "the quoted text has no closing quote"},
        {"TextAfterQuote", kHeader + kKey + "\"Dir\"=\"C:\" extra\n", 4,
         "unexpected text after the closing quote"},
        {"ValueBeforeKey", kHeader + "\"Dir\"=\"C:\"\n", 3, "a value comes before the first key"},
        {"KeyWithoutBracket", kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\n", 3,
         "the key's name has no closing \"]\""},
        {"UnknownHive", kHeader + "[HKEY_NOWHERE\\SOFTWARE]\n", 3,
         "the key does not begin with a registry hive such as HKEY_LOCAL_MACHINE"},
        {"StrayLine", kHeader + kKey + "Dir=C:\n", 4,
         "the line is neither a key, a value nor a comment"},
        {"BadHexByte", kHeader + kKey + "\"b\"=hex:01,\\\n  02,zz\n", 5,
         "\"zz\" is not a hexadecimal byte"},
        {"BadDword", kHeader + kKey + "\"n\"=dword:123456789\n", 4,
         "a dword needs 1 to 8 hexadecimal digits"},
        {"OddExpandableBytes", kHeader + kKey + "\"e\"=hex(2):41,00,42\n", 4,
         "the string's data has an odd number of bytes"},
        {"TruncatedContinuation", kHeader + kKey + "\"b\"=hex:01,02,\\", 4,
         "the file ends inside a value continued on the next line"},
        {"InvalidUtf8", kHeader + kKey + "\"n\"=\"Caf\xE9\"\n", 4,
         "the text is not valid UTF-8 (a file saved as UTF-16 needs its byte order mark)"},
        {"Utf16WithoutBom", testing::utf16le(kHeader + kKey), 1,
         "the file is in UTF-16 without a byte order mark; save it with one or as UTF-8"},
        {"TruncatedUtf16", testing::regeditExport(kHeader + kKey) + "A", 4,
         "the file ends in the middle of a character"},
    };
}

class MalformedRegistry : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedRegistry, StopsWithTheFileAndLine) {
    TempMachine machine;
    machine.writeRegistry(GetParam().bytes);
    const auto file = (machine.root() / "registry.reg").string();
    try {
        MachineImage image(machine.root());
        FAIL() << "the image was accepted";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.description(), "The registry file " + file + " is not valid at line " +
                                           std::to_string(GetParam().line) + ": " +
                                           GetParam().reason + ".");
    }
    // The faulty file is left exactly as it was.
    EXPECT_EQ(testing::readBytes(machine.root() / "registry.reg"), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Registry, MalformedRegistry, ::testing::ValuesIn(malformedFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryFile, AMissingFileIsNamed) {
    TempMachine machine;
    const auto file = (machine.root() / "registry.reg").string();
    try {
        MachineImage image(machine.root());
        FAIL() << "an image without registry was accepted";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.description(), "The machine image has no registry file " + file + ".");
    }
}

TEST(RegistryFile, AMissingImageFolderIsNamed) {
    const auto folder = std::filesystem::temp_directory_path() / "tessaron-no-such-machine";
    try {
        MachineImage image(folder);
        FAIL() << "a missing folder was accepted";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.description(),
                  "The machine image folder " + folder.string() + " does not exist.");
    }
}

TEST(RegistryValueText, JoinsListsAndWritesNumbers) {
    EXPECT_EQ(registryValueText(std::string("C:\\Tessaron")), "C:\\Tessaron");
    EXPECT_EQ(registryValueText(std::uint32_t{4294967295u}), "4294967295");
    EXPECT_EQ(registryValueText(std::vector<std::string>{"10.0.0.5", "10.0.0.6"}),
              "10.0.0.5 10.0.0.6");
    EXPECT_EQ(registryValueText(std::vector<std::uint8_t>{1, 2}), "");
}

}  // namespace
}  // namespace tessaron
