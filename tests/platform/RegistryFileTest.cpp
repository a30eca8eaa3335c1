#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ImageTestText.h"
#include "platform/Failure.h"
#include "platform/RegistryValue.h"
#include "platform/image/MachineImage.h"
#include "platform/image/RegistryFile.h"
#include "support/TestMachine.h"

namespace tessaron {
namespace {

using testing::hexList;
using testing::TestMachine;

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
    TestMachine machine;
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
    TestMachine machine;
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
    TestMachine machine;
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

// Forms regedit imports, each with regedit's meaning. Line ends are LF
// here; the encodings below turn them into CR LF or lone CRs.
std::string regeditForms() {
    using testing::utf16le;
    const auto multi =
        utf16le("10.0.0.9") + std::string(2, '\0') + utf16le("10.0.0.5") + std::string(4, '\0');
    const auto cut = utf16le("10.0.0.9").size() + 2;
    return "Windows Registry Editor Version 5.00\n"
           "\n"
           "# a comment line of its own\n"
           "  ; an indented one\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Forms] ; a comment after the key\n"
           "\"Text\"=\"Value1\"  ;comment\n"
           "\"Tabbed\"=\"Value2\"\t\t;comment\n"
           "\"Inside\"=\"a ;b #c\"\n"
           "@=\"default\";comment\n"
           "\"Number\"=dword:00000004;comment\n"
           "\"Blank\"=dword: 1f  ; blanks around the digits\n"
           "\"Gone\"=\"x\"\n"
           "\"Gone\"=- ;comment\n"
           "\"Joined\"=hex:01,02,\\  ;comment after the backslash\n"
           "; a comment line between continued lines\n"
           "\n"
           "  03,04,\\\n"
           "  \t\n"
           "  05 ;comment after the last byte\n"
           "\"Addresses\"=hex(7):" +
           hexList(multi.substr(0, cut)) +
           ",\\\n"
           "; the second address\n"
           "  " +
           hexList(multi.substr(cut)) +
           "\n"
           "\"Ended\"=hex:0a,0b,;a comment ends the bytes\n"
           "\"Icon\"=\"%windir%\\system32\\shell32.dll,-267\"\n"
           "\"Escapes\"=\"a\\\\b\\\"c\\nd\\re\"\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Forms\\Slash\\]\n"
           "\"In\"=\"slash\"\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Removed]\n"
           "\"Before\"=\"x\"\n"
           "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Removed]\n"
           "\"After\"=\"ignored\"\n"
           "\"Before\"=-\n"
           "\"Bytes\"=hex:01,\\\n"
           "  02\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Next]\n"
           "\"v\"=\"kept\"\n";
}

std::string withLoneCr(const std::string& text) {
    std::string out = text;
    std::replace(out.begin(), out.end(), '\n', '\r');
    return out;
}

const Encoding kFormEncodings[] = {
    {"Utf16LeWithBomCrLf",
     [](const std::string& t) { return testing::regeditExport(withCrLf(t)); }},
    {"Utf16LeWithBomLoneCr",
     [](const std::string& t) { return testing::regeditExport(withLoneCr(t)); }},
    {"Utf8Lf", [](const std::string& t) { return t; }},
    {"Utf8LoneCr", [](const std::string& t) { return withLoneCr(t); }},
};

class RegeditForms : public ::testing::TestWithParam<Encoding> {};

TEST_P(RegeditForms, LoadWithRegeditsMeaning) {
    TestMachine machine;
    machine.writeRegistry(GetParam().encode(regeditForms()));
    ::testing::internal::CaptureStderr();
    MachineImage image(machine.root());
    const auto warnings = ::testing::internal::GetCapturedStderr();
    auto& system = image.System();
    const std::string key = "SOFTWARE\\Forms";
    auto text = [&](const std::string& keyPath, const std::string& name) {
        return registryValueText(system.ReadRegistryValue(keyPath, name));
    };

    EXPECT_EQ(text(key, "Text"), "Value1");
    EXPECT_EQ(text(key, "Tabbed"), "Value2");
    EXPECT_EQ(text(key, "Inside"), "a ;b #c");
    EXPECT_EQ(text(key, ""), "default");
    EXPECT_EQ(std::get<std::uint32_t>(system.ReadRegistryValue(key, "Number")), 4u);
    EXPECT_EQ(std::get<std::uint32_t>(system.ReadRegistryValue(key, "Blank")), 31u);
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(key, "Gone")), "");
    EXPECT_EQ(std::get<std::vector<std::uint8_t>>(system.ReadRegistryValue(key, "Joined")),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(std::get<std::vector<std::string>>(system.ReadRegistryValue(key, "Addresses")),
              (std::vector<std::string>{"10.0.0.9", "10.0.0.5"}));
    EXPECT_EQ(std::get<std::vector<std::uint8_t>>(system.ReadRegistryValue(key, "Ended")),
              (std::vector<std::uint8_t>{0x0a, 0x0b}));
    // An escape the format does not define keeps its character, without the
    // backslash, and is reported on standard error.
    EXPECT_EQ(text(key, "Icon"), "%windir%system32shell32.dll,-267");
    EXPECT_EQ(text(key, "Escapes"), "a\\b\"c\nd\re");
    EXPECT_EQ(text("SOFTWARE\\Forms\\Slash", "In"), "slash");
    // Nothing after the removal counts until the next key.
    EXPECT_EQ(text("SOFTWARE\\Removed", "Before"), "");
    EXPECT_EQ(text("SOFTWARE\\Removed", "After"), "");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Removed", "Bytes")), "");
    EXPECT_EQ(text("SOFTWARE\\Next", "v"), "kept");

    const auto file = (machine.root() / "registry.reg").string();
    const std::string warning = "Warning: the registry file " + file +
                                " at line 24: unknown escape \\s in a quoted text, read as "
                                "\"s\" (a backslash is written \\\\).\n";
    EXPECT_EQ(warnings, warning + warning);
}

INSTANTIATE_TEST_SUITE_P(Registry, RegeditForms, ::testing::ValuesIn(kFormEncodings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryFile, TypeNumbersUpToFfffffffAreKept) {
    const auto file = parseRegistryFile(
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
        "\"Top\"=hex(ffffffff):01,02\n"
        "\"Zeros\"=hex(000000000004):2a,00,00,00\n"
        "\"Upper\"=hex(FFFFFFFE):\n",
        "registry.reg");
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test";
    ASSERT_NE(file.tree.findValue(key, "Top"), nullptr);
    EXPECT_EQ(file.tree.findValue(key, "Top")->type, RegistryType{0xFFFFFFFFu});
    EXPECT_EQ(file.tree.findValue(key, "Top")->bytes, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(file.tree.findValue(key, "Zeros")->type, RegistryType::DWord);
    EXPECT_EQ(file.tree.findValue(key, "Zeros")->number, 42u);
    EXPECT_EQ(file.tree.findValue(key, "Upper")->type, RegistryType{0xFFFFFFFEu});
    EXPECT_TRUE(file.tree.findValue(key, "Upper")->bytes.empty());
    EXPECT_TRUE(file.warnings.empty());
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
        {"UnterminatedText", kHeader + kKey + "\"Dir\"=\"C:\\\\WINDOWS\n", 4,
         "the quoted text has no closing quote"},
        {"TextAfterQuote", kHeader + kKey + "\"Dir\"=\"C:\" extra\n", 4,
         "unexpected text after the closing quote (only a \";\" comment may follow)"},
        // "#" starts a comment line only, never a comment after data.
        {"HashAfterQuote", kHeader + kKey + "\"Dir\"=\"C:\"  #comment\n", 4,
         "unexpected text after the closing quote (only a \";\" comment may follow)"},
        {"HashAfterDword", kHeader + kKey + "\"n\"=dword:01020304 #comment\n", 4,
         "unexpected text after the dword's digits (only a \";\" comment may follow)"},
        {"TextAfterDeletion", kHeader + kKey + "\"n\"=- x\n", 4,
         "unexpected text after \"-\" (only a \";\" comment may follow)"},
        {"NameWithoutEquals", kHeader + kKey + "\"Dir\" \"C:\"\n", 4,
         "the value's name is not followed by \"=\""},
        {"NulEscape", kHeader + kKey + "\"Dir\"=\"C:\\0\"\n", 4, "a quoted text cannot hold \\0"},
        {"AbbreviatedHive", kHeader + "[HKLM\\SOFTWARE\\Test]\n", 3,
         "the hive \"HKLM\" is abbreviated; write HKEY_LOCAL_MACHINE"},
        {"AbbreviatedHiveRemoved", kHeader + "[-hkcu\\Software]\n", 3,
         "the hive \"hkcu\" is abbreviated; write HKEY_CURRENT_USER"},
        {"AddressBarPath", kHeader + "[Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE]\n", 3,
         "the key begins with \"Computer\\\" as regedit's address bar shows it; a key begins "
         "with its hive, such as HKEY_LOCAL_MACHINE"},
        {"TextAfterKey", kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE] x\n", 3,
         "unexpected text after the key's closing \"]\" (only a \";\" comment may follow)"},
        {"EmptyKeyPart", kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\]\n", 3,
         "the key's name holds an empty part"},
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
         "a dword needs 1 to 8 hexadecimal digits, not 9"},
        {"EmptyDword", kHeader + kKey + "\"n\"=dword: ;comment\n", 4,
         "a dword needs 1 to 8 hexadecimal digits"},
        {"TypeBeyondDword", kHeader + kKey + "\"b\"=hex(100000000):01\n", 4,
         "the value type hex(...) is larger than ffffffff"},
        {"TypeInDecimalNotation", kHeader + kKey + "\"b\"=hex(0x2):01\n", 4,
         "the value type hex(...) is not understood"},
        {"BackslashAfterByte", kHeader + kKey + "\"b\"=hex:01,02\\\n  03\n", 4,
         "the backslash that continues a value must follow a comma"},
        {"TextAfterBackslash", kHeader + kKey + "\"b\"=hex:01,\\#comment\n  03\n", 4,
         "unexpected text after the backslash that continues the value (only a \";\" comment "
         "may follow)"},
        // Only ";" comment lines and blank lines may interrupt continued bytes.
        {"HashLineInContinuation", kHeader + kKey + "\"b\"=hex:01,\\\n\n  #comment\n  02\n", 6,
         "the value continued from line 4 does not go on with a hexadecimal byte (only blank "
         "lines and \";\" comment lines may come between)"},
        {"ValueAfterDanglingBackslash", kHeader + kKey + "\"b\"=hex:01,\\\n\"c\"=\"lost\"\n", 5,
         "the value continued from line 4 does not go on with a hexadecimal byte (only blank "
         "lines and \";\" comment lines may come between)"},
        // Lone CRs end lines: the stray line is the fourth.
        {"LoneCrLines",
         "Windows Registry Editor Version 5.00\r\r" + kKey.substr(0, kKey.size() - 1) +
             "\rDir=C:\r",
         4, "the line is neither a key, a value nor a comment"},
        {"OddExpandableBytes", kHeader + kKey + "\"e\"=hex(2):41,00,42\n", 4,
         "the string's data has an odd number of bytes"},
        {"TruncatedContinuation", kHeader + kKey + "\"b\"=hex:01,02,\\", 4,
         "the file ends inside a value continued on the next line"},
        {"TruncatedAfterComment", kHeader + kKey + "\"b\"=hex:01,\\\n; more to come\n\n", 4,
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
    TestMachine machine;
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
    TestMachine machine;
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
