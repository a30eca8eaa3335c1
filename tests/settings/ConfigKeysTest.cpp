// The one table of config.inc's keys, seen from both sides: what the writer
// puts in the body, the reader finds again.
#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
}  // namespace tessaron
