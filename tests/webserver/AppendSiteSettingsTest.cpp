// The site lines appended to config.inc, in every variant of the switches,
// FTP types and held numbers.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "WebServerStageRun.h"

namespace tessaron::testing {
namespace {

const std::string kConfig = "C:\\Tessaron\\panel\\config.inc";
// The body this run put in place (two lines stand for the 69), carrying the
// former file's site lines.
const Lines kBodyLines = {"' Tessaron Configuration File For: WEBHOST01",
                          "ServerName = \"WEBHOST01\""};
const std::string kBody =
    "' Tessaron Configuration File For: WEBHOST01\r\nServerName = \"WEBHOST01\"\r\n";
const std::string kFormerSiteLines = "MainFTPSVC = \"9\"\r\nEnableSharedSecure = False\r\n";

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
        {"Microsoft FTP and both sites",
         [](SettingsRecord&) {},
         {"2", "5"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"Serv-U",
         [](SettingsRecord& s) { s.FTPServerType = "Serv-U"; },
         {"", "5"},
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
         [](SettingsRecord& s) { s.FTPServerType = "Gene6 FTP Server"; },
         {"", "5"},
         {"MainFTPSVC = \"Tessaron\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"unknown FTP type",
         [](SettingsRecord& s) { s.FTPServerType = ""; },
         {"", ""},
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
        {"shared secure on without a site",
         [](SettingsRecord& s) { s.SharedSecureSVC = "0"; },
         {"2", "5"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"0\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"a held shared secure number is written, 0 too",
         [](SettingsRecord&) {},
         {"2", "5", "0"},
         {"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
          "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"0\"",
          "EnableWebsitePreview = True", "PreviewSVC = \"5\""}},
        {"numbers 0 or none fall back to the old file",
         [](SettingsRecord&) {},
         {"0", ""},
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
        WebServerStageRun stage(TestMachine::sample("windows2003"), settings);
        stage.machine.writeFile(kConfig, kBody + kFormerSiteLines);
        AppendSiteSettings(stage.run, kBodyLines, test.held);
        EXPECT_EQ(stage.machine.readFile(kConfig), kBody + crlfLines(test.tail));
        EXPECT_TRUE(stage.log.entries().empty());
    }
}

// Without a body of this run, the file stays as it was, or absent, and one
// line says why: site lines alone, or after a former body, would describe a
// configuration nobody wrote.
TEST(AppendSiteSettings, WithoutABodyOfThisRunTheFileIsLeftAlone) {
    for (const bool former : {true, false}) {
        SCOPED_TRACE(former ? "former file" : "no file");
        WebServerStageRun stage(TestMachine::sample("windows2003"));
        if (former) stage.machine.writeFile(kConfig, kBody + kFormerSiteLines);
        AppendSiteSettings(stage.run, std::nullopt, {"2", "5"});
        EXPECT_EQ(stage.log.entries(),
                  Lines{"Site settings were not added because the configuration file could not "
                        "be written."});
        if (former) {
            EXPECT_EQ(stage.machine.readFile(kConfig), kBody + kFormerSiteLines);
        } else {
            EXPECT_FALSE(std::filesystem::exists(stage.machine.host(kConfig)));
        }
        EXPECT_FALSE(stage.run.RunError);
    }
}

// A rewrite that fails leaves the body with the former site lines, says so
// and sets RunError.
TEST(AppendSiteSettings, AFailedRewriteKeepsTheFileAndIsAnError) {
    WebServerStageRun readOnly(TestMachine::sample("windows2003"));
    readOnly.machine.writeFile(kConfig, kBody + kFormerSiteLines);
    readOnly.machine.setReadOnly(kConfig, true);
    AppendSiteSettings(readOnly.run, kBodyLines, {"2", "5"});
    readOnly.machine.setReadOnly(kConfig, false);
    EXPECT_EQ(readOnly.machine.readFile(kConfig), kBody + kFormerSiteLines);
    EXPECT_EQ(readOnly.log.entries(),
              Lines{"ERROR: Could not add site settings to configuration file - Permission "
                    "denied"});
    EXPECT_TRUE(readOnly.run.RunError);

    WebServerStageRun foreign(TestMachine::sample("windows2003"));
    foreign.settings.SharedSecureServer = "\xD1\x81\xD0\xB5\xD1\x80\xD0\xB2\xD0\xB5\xD1\x80";
    foreign.machine.writeFile(kConfig, kBody + kFormerSiteLines);
    AppendSiteSettings(foreign.run, kBodyLines, {"2", "5"});
    EXPECT_EQ(foreign.machine.readFile(kConfig), kBody + kFormerSiteLines);
    EXPECT_EQ(foreign.log.entries(),
              Lines{"ERROR: Could not add site settings to configuration file - Invalid "
                    "procedure call or argument"});
    EXPECT_TRUE(foreign.run.RunError);
}

}  // namespace
}  // namespace tessaron::testing
