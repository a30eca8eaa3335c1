// The site lines appended to config.inc, in every variant of the switches,
// FTP types and held numbers.
#include <gtest/gtest.h>

#include <functional>

#include "StageMachine.h"

namespace tessaron::testing {
namespace {

const std::string kConfig = "C:\\Tessaron\\panel\\config.inc";
const std::string kBody = "' Tessaron Configuration File For: WEBHOST01\r\nServerName = \"WEBHOST01\"\r\n";

std::string crlfLines(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

struct TailCase {
    const char* name;
    std::function<void(SettingsRecord&)> settings;
    HeldSiteNumbers held;
    Lines tail;
};

TEST(AppendSiteSettings, EveryTailVariant) {
    const std::vector<TailCase> cases = {
        {"Microsoft FTP and both sites", [](SettingsRecord&) {}, {"2", "5"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"Serv-U", [](SettingsRecord& s) { s.FTPServerType = "Serv-U"; }, {"", "5"},
         {"MainFTPSVC = \"0\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"BulletProof FTP, no shared secure",
         [](SettingsRecord& s) {
             s.FTPServerType = "BulletProof FTP";
             s.EnableSharedSecure = "False";
         },
         {"", "5"},
         {"MainFTPSVC = \"1\"", "EnableSharedSecure = False", "EnableWebsitePreview = True",
          "PreviewSVC = \"5\""}},
        {"Gene6 FTP Server",
         [](SettingsRecord& s) { s.FTPServerType = "Gene6 FTP Server"; }, {"", "5"},
         {"MainFTPSVC = \"Tessaron\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"unknown FTP type", [](SettingsRecord& s) { s.FTPServerType = ""; }, {"", ""},
         {"EnableSharedSecure = True", "SharedSecureServer = \"secure.example.com\"",
          "SharedSecureSVC = \"4\"", "EnableWebsitePreview = True", "PreviewSVC = \"7\""}},
        {"FTP off, preview off",
         [](SettingsRecord& s) {
             s.FTPServerEnabled = "False";
             s.EnableWebsitePreview = "False";
         },
         {"2", "5"},
         {"EnableSharedSecure = True", "SharedSecureServer = \"secure.example.com\"",
          "SharedSecureSVC = \"4\"", "EnableWebsitePreview = False", "PreviewSVC = \"0\""}},
        {"shared secure on without a site", [](SettingsRecord& s) { s.SharedSecureSVC = "0"; },
         {"2", "5"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"0\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"numbers 0 or none fall back to the old file", [](SettingsRecord&) {}, {"0", ""},
         {"MainFTPSVC = \"5\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"7\""}},
        {"values written without conversion, quotes doubled",
         [](SettingsRecord& s) {
             s.EnableSharedSecure = "True";
             s.SharedSecureServer = "a/b//c \"d\"";
         },
         {"2", "5"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"a/b//c \"\"d\"\"\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"line breaks removed from a value",
         [](SettingsRecord& s) { s.SharedSecureServer = "secure\r\n.example.com\n"; },
         {"2", "5"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        auto settings = allNewSitesSettings();
        settings.SharedSecureSVC = "4";
        settings.MainFTPSVC = "5";
        settings.PreviewSVC = "7";
        test.settings(settings);
        StageMachine stage("windows2003", settings);
        stage.machine.writeFile(kConfig, kBody);
        AppendSiteSettings(stage.run, test.held);
        EXPECT_EQ(stage.machine.readFile(kConfig), kBody + crlfLines(test.tail));
        EXPECT_TRUE(stage.log.entries().empty());
    }
}

TEST(AppendSiteSettings, MissingFileIsCreated) {
    StageMachine stage("windows2003");
    stage.settings.SharedSecureSVC = "4";
    stage.settings.EnableWebsitePreview = "False";
    AppendSiteSettings(stage.run, {"2", ""});
    EXPECT_EQ(stage.machine.readFile(kConfig),
              crlfLines({"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
                         "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
                         "EnableWebsitePreview = False", "PreviewSVC = \"0\""}));
}

TEST(AppendSiteSettings, FailuresAreIgnoredAndNeverLogged) {
    // A read-only file is left as it is.
    StageMachine readOnly("windows2003");
    readOnly.machine.writeFile(kConfig, kBody);
    readOnly.machine.setReadOnly(kConfig, true);
    AppendSiteSettings(readOnly.run, {"2", "5"});
    EXPECT_EQ(readOnly.machine.readFile(kConfig), kBody);
    EXPECT_TRUE(readOnly.log.entries().empty());

    // A line the code page cannot hold is missing; the others are written.
    StageMachine foreign("windows2003");
    foreign.settings.SharedSecureServer = "\xD1\x81\xD0\xB5\xD1\x80\xD0\xB2\xD0\xB5\xD1\x80";
    foreign.settings.SharedSecureSVC = "4";
    foreign.machine.writeFile(kConfig, kBody);
    AppendSiteSettings(foreign.run, {"2", "5"});
    EXPECT_EQ(foreign.machine.readFile(kConfig),
              kBody + crlfLines({"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
                                 "SharedSecureSVC = \"4\"", "EnableWebsitePreview = True",
                                 "PreviewSVC = \"5\""}));
    EXPECT_TRUE(foreign.log.entries().empty());
}

}  // namespace
}  // namespace tessaron::testing
