// Whole installation runs, as the progress window performs them, on a copy of
// the Windows Server 2003 sample with the web-server stage: the progress log,
// the lines appended to config.inc and the keys added to MetaBase.xml.
#include <gtest/gtest.h>

#include "SampleRun.h"
#include "WebServerStageRun.h"
#include "platform/WindowsPath.h"
#include "run/RunDriver.h"
#include "settings/ConfigFileReader.h"

namespace tessaron::testing {
namespace {

std::string crlf(const std::string& text) {
    return replaceAll(text, "\n", "\r\n");
}

TEST(WholeRunWithSites, AllSitesNewOnTheServerSample) {
    MachineRun run(TestMachine::sample("windows2003"), wholeRunSettings(), {.SetUpSites = true});
    const auto metabaseBefore = run.machine.readFile(kMetabase2003);

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);

    Lines expected = kBeforeSites;
    for (const char* line : {
             "IIS application pool for Tessaron control panel website configured.",
             "Tessaron control panel website configured.",
             "Tessaron control panel website started.",
             "Tessaron FTP configured.",
             "WARNING: Could not start Tessaron FTP.  Make sure you do not have another FTP, such "
             "as the Default FTP Site, that conflicts with this FTP, which listens on all "
             "unassigned IPs.",
             "Shared secure website configured - be sure to set up a secure certificate and start "
             "the site!",
             "Shared secure site started.",
             "Website preview website configured.",
             "Tessaron website preview site started.",
             "Tessaron configuration completed.",
         }) {
        expected.push_back(line);
    }
    EXPECT_EQ(run.log.entries(), expected);
    EXPECT_FALSE(run.run.RunError);

    EXPECT_EQ(tailOf(run.machine.readFile(kConfig)),
              (Lines{"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
                     "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"4\"",
                     "EnableWebsitePreview = True", "PreviewSVC = \"5\""}));
    // The record keeps the new shared secure number for a next run.
    EXPECT_EQ(run.settings.SharedSecureSVC, "4");

    // The sample's keys keep their bytes; the new ones sit below their
    // service in IIS's layout.
    auto expectedMetabase = metabaseBefore;
    const auto insertAfter = [&](const std::string& closingOf, const std::string& keys) {
        const auto at = expectedMetabase.find(closingOf) + closingOf.size();
        expectedMetabase.insert(at, crlf(keys));
    };
    insertAfter(
        "<IIsApplicationPool\tLocation =\"/LM/W3SVC/AppPools/DefaultAppPool\"\r\n\t>\r\n"
        "</IIsApplicationPool>",
        "\n<IIsApplicationPool\tLocation =\"/LM/W3SVC/AppPools/Tessaron\"\n"
        "\t\tAppPoolIdentityType=\"0\"\n\t>\n</IIsApplicationPool>");
    insertAfter("Path=\"c:\\inetpub\\ftproot\"\r\n\t>\r\n</IIsFtpVirtualDir>",
                "\n<IIsFtpServer\tLocation =\"/LM/MSFTPSVC/2\"\n"
                "\t\tAllowAnonymous=\"FALSE\"\n"
                "\t\tServerBindings=\":21:\"\n"
                "\t\tServerComment=\"Tessaron - FTP\"\n"
                "\t>\n</IIsFtpServer>\n"
                "<IIsFtpVirtualDir\tLocation =\"/LM/MSFTPSVC/2/ROOT\"\n"
                "\t\tAccessFlags=\"AccessRead\"\n"
                "\t\tPath=\"C:\\Hosting\"\n"
                "\t>\n</IIsFtpVirtualDir>");
    insertAfter("Path=\"C:\\WINDOWS\\ServerAppliance\\Web\"\r\n\t>\r\n</IIsWebVirtualDir>",
                "\n<IIsWebServer\tLocation =\"/LM/W3SVC/3\"\n"
                "\t\tServerAutoStart=\"TRUE\"\n"
                "\t\tServerBindings=\":2100:\n\t\t\t:2101:\"\n"
                "\t\tServerComment=\"Tessaron - Control Panel\"\n"
                "\t>\n</IIsWebServer>\n"
                "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/3/ROOT\"\n"
                "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
                "\t\tAppFriendlyName=\"Default Application\"\n"
                "\t\tAppIsolated=\"0\"\n"
                "\t\tAppPoolId=\"Tessaron\"\n"
                "\t\tAppRoot=\"/LM/W3SVC/3/ROOT\"\n"
                "\t\tPath=\"C:\\Tessaron\\panel\"\n"
                "\t>\n</IIsWebVirtualDir>\n"
                "<IIsWebServer\tLocation =\"/LM/W3SVC/4\"\n"
                "\t\tSecureBindings=\"10.0.0.5:443:\"\n"
                "\t\tServerAutoStart=\"TRUE\"\n"
                "\t\tServerBindings=\"10.0.0.5:80:nosite\"\n"
                "\t\tServerComment=\"Tessaron - Shared Secure\"\n"
                "\t>\n</IIsWebServer>\n"
                "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/4/ROOT\"\n"
                "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
                "\t\tAppFriendlyName=\"Default Application\"\n"
                "\t\tAppIsolated=\"0\"\n"
                "\t\tAppRoot=\"/LM/W3SVC/4/ROOT\"\n"
                "\t\tPath=\"C:\\Hosting\"\n"
                "\t>\n</IIsWebVirtualDir>\n"
                "<IIsWebServer\tLocation =\"/LM/W3SVC/5\"\n"
                "\t\tServerAutoStart=\"TRUE\"\n"
                "\t\tServerBindings=\"10.0.0.5:80:\"\n"
                "\t\tServerComment=\"Tessaron - Website Preview\"\n"
                "\t>\n</IIsWebServer>\n"
                "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/5/ROOT\"\n"
                "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
                "\t\tAppFriendlyName=\"Default Application\"\n"
                "\t\tAppIsolated=\"0\"\n"
                "\t\tAppRoot=\"/LM/W3SVC/5/ROOT\"\n"
                "\t\tPath=\"C:\\Hosting\"\n"
                "\t>\n</IIsWebVirtualDir>");
    EXPECT_EQ(run.machine.readFile(kMetabase2003), expectedMetabase);
}

TEST(WholeRunWithSites, MissingSelectionEndsTheStageWithoutSiteLines) {
    auto settings = wholeRunSettings();
    settings.ControlPanelSiteSelection = "Old Panel";
    MachineRun run(TestMachine::sample("windows2003"), settings, {.SetUpSites = true});

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);
    Lines expected = kBeforeSites;
    expected.push_back("IIS application pool for Tessaron control panel website configured.");
    expected.push_back("Could not find website \"Old Panel\".");
    expected.push_back("Tessaron configuration completed.");
    EXPECT_EQ(run.log.entries(), expected);
    EXPECT_FALSE(run.run.RunError);
    EXPECT_EQ(fileLines(run.machine.readFile(kConfig)).size(), 69u);
}

TEST(WholeRunWithSites, WithoutSitesTheNumbersOfTheOldFileAreAppendedAgain) {
    // The numbers as the configuration reader takes them from an old file.
    const std::string oldTail =
        "MainFTPSVC = \"5\"\r\nEnableSharedSecure = True\r\n"
        "SharedSecureServer = \"secure.example.com\"\r\n"
        "SharedSecureSVC = \"6\"\r\nEnableWebsitePreview = True\r\n"
        "PreviewSVC = \"7\"\r\n";
    auto settings = wholeRunSettings();
    for (const auto& line : parseConfigLines(oldTail)) {
        if (line.key == "mainftpsvc") settings.MainFTPSVC = line.value;
        if (line.key == "sharedsecuresvc") settings.SharedSecureSVC = line.value;
        if (line.key == "previewsvc") settings.PreviewSVC = line.value;
    }
    MachineRun run(TestMachine::sample("windows2003"), settings, {});
    const auto metabaseBefore = run.machine.readFile(kMetabase2003);

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);
    EXPECT_EQ(run.log.entries().back(), "Tessaron configuration completed.");
    EXPECT_EQ(tailOf(run.machine.readFile(kConfig)), fileLines(oldTail));
    EXPECT_EQ(run.machine.readFile(kMetabase2003), metabaseBefore);
}

}  // namespace
}  // namespace tessaron::testing
