// The one table of config.inc's keys, seen from both sides: what the writer
// puts in the body, the reader finds again.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "settings/ConfigFileBody.h"
#include "settings/ConfigFileReader.h"
#include "settings/ConfigFileSiteLines.h"
#include "settings/ConfigKeys.h"

namespace tessaron {
namespace {

using S = SettingsRecord;

// A body written from a record whose every field holds its own value, read
// back line by line: each line the reader knows lands in the field that was
// written to it.
TEST(ConfigKeys, EveryBodyLineTheReaderKnowsComesBackToItsField) {
    SettingsRecord settings;
    int fieldCount = 0;
    for (const auto& key : configKeys()) {
        if (key.field) settings.*(key.field) = "v" + std::to_string(++fieldCount);
    }
    const ConfigFileSources sources{settings, "C:\\Program Files", std::string("C:\\TEMP"),
                                    "1/2/2024"};
    std::string text;
    for (const auto& line : configFileBodyLines(sources)) text += line.value() + "\r\n";

    std::vector<std::string S::*> readBack;
    for (const auto& line : parseConfigLines(text)) {
        const ConfigKey* key = findReadKey(line.key);
        if (!key) continue;
        ASSERT_NE(key->field, nullptr) << line.key;
        // The two folders are written with their trailing backslash.
        const bool folder = key->field == &S::ServerRoot || key->field == &S::LogRoot;
        EXPECT_EQ(line.value, settings.*(key->field) + (folder ? "\\" : "")) << line.key;
        readBack.push_back(key->field);
    }
    // Of the 59 assignments (the comment lines and AnonUser are none),
    // ServerName, PanelRoot, the four fixed values and the three statistics
    // folders are for the panel only; the window reads the other 50.
    EXPECT_EQ(readBack.size(), 50u);
    EXPECT_EQ(std::count(readBack.begin(), readBack.end(), &S::ServerName), 0);
    EXPECT_EQ(std::count(readBack.begin(), readBack.end(), &S::StatsRoot), 0);
    EXPECT_EQ(std::count(readBack.begin(), readBack.end(), &S::ServerIP), 1);
    EXPECT_EQ(std::count(readBack.begin(), readBack.end(), &S::FTPServerEnabled), 1);
}

TEST(ConfigKeys, ReaderMatchesNamesAndAliasesInLowerCaseOnly) {
    struct Case {
        const char* key;
        std::string S::*field;  // null: the reader skips the key
    };
    const std::vector<Case> cases = {
        {"serverip", &S::ServerIP},
        {"mainserverip", &S::ServerIP},
        {"internalip", &S::InternalIP},
        {"maininternalip", &S::InternalIP},
        {"ftpservertype", &S::FTPServerType},
        {"ftplinkpath", &S::FTPLinkPath},
        {"sharedsecuresvc", &S::SharedSecureSVC},
        {"ServerIP", nullptr},  // the line's key is lowered before the look-up
        {"anonuser", nullptr},
        {"servername", nullptr},
        {"panelroot", nullptr},
        {"statsroot", nullptr},
        {"' tessaron configuration file for:", nullptr},
    };
    for (const auto& c : cases) {
        const ConfigKey* key = findReadKey(c.key);
        EXPECT_EQ(key ? key->field : nullptr, c.field) << c.key;
    }
}

TEST(ConfigKeys, SiteLinesAreTheAppendedKeysInAnyCase) {
    const std::string text =
        "ServerName = \"WEB01\"\r\n"
        "mainftpsvc = \"3\"\r\n"
        "  EnableSharedSecure   = True\r\n"
        "' SharedSecureSVC = \"9\"\r\n"
        "SHAREDSECURESVC=\"4\"\n"
        "EnableStatistics = True\r"
        "PreviewSVC = \"0\"";
    EXPECT_EQ(siteSettingLines(text),
              std::vector<std::string>({"mainftpsvc = \"3\"", "  EnableSharedSecure   = True",
                                        "SHAREDSECURESVC=\"4\"", "PreviewSVC = \"0\""}));
}

// What the append step writes is what a later run recognises as a site line
// (and replaces), and what the reader takes back into the same field.
TEST(ConfigKeys, WrittenSiteLinesAreFoundAgainByTheirKey) {
    const std::vector<std::pair<std::string S::*, std::string>> written = {
        {&S::MainFTPSVC, siteLine(&S::MainFTPSVC, "3")},
        {&S::EnableSharedSecure, siteSwitchLine(&S::EnableSharedSecure, true)},
        {&S::SharedSecureServer, siteLine(&S::SharedSecureServer, "secure.example")},
        {&S::SharedSecureSVC, siteLine(&S::SharedSecureSVC, "4")},
        {&S::EnableWebsitePreview, siteSwitchLine(&S::EnableWebsitePreview, false)},
        {&S::PreviewSVC, siteLine(&S::PreviewSVC, "0")},
    };
    std::string text;
    std::vector<std::string> lines;
    for (const auto& [field, line] : written) {
        text += line + "\r\n";
        lines.push_back(line);
        const auto equals = line.find(" = ");
        ASSERT_NE(equals, std::string::npos) << line;
        std::string key = line.substr(0, equals);
        std::transform(key.begin(), key.end(), key.begin(), ::tolower);
        const ConfigKey* read = findReadKey(key);
        ASSERT_NE(read, nullptr) << line;
        EXPECT_EQ(read->field, field) << line;
    }
    EXPECT_EQ(siteSettingLines(text), lines);
    EXPECT_EQ(written[3].second, "SharedSecureSVC = \"4\"");
    EXPECT_EQ(written[4].second, "EnableWebsitePreview = False");
}

// A site value cannot end its statement or its string literal early.
TEST(ConfigKeys, SiteLineValuesStayOneStringLiteral) {
    EXPECT_EQ(siteLine(&S::SharedSecureServer, "a\"b\r\nc\rd\ne"),
              "SharedSecureServer = \"a\"\"bcde\"");
    EXPECT_THROW(siteLine(&S::ServerName, "x"), std::logic_error);
}

}  // namespace
}  // namespace tessaron
