// Every line that ends the web-server stage, reached through a real
// condition of the machine where one exists, else through a metabase that
// fails the operation.
#include <gtest/gtest.h>

#include <functional>

#include "WebServerStageRun.h"
#include "platform/WindowsPath.h"

namespace tessaron::testing {
namespace {

const std::string kPool = "IIS application pool for Tessaron control panel website configured.";
const Lines kControlPanel = {kPool, "Tessaron control panel website configured.",
                             "Tessaron control panel website started."};
const Lines kUpToSharedSecure = [] {
    Lines lines = kControlPanel;
    lines.push_back("Tessaron FTP configured.");
    lines.push_back(
        "WARNING: Could not start Tessaron FTP.  Make sure you do not have another FTP, such as "
        "the Default FTP Site, that conflicts with this FTP, which listens on all unassigned IPs.");
    return lines;
}();
const Lines kUpToPreview = [] {
    Lines lines = kUpToSharedSecure;
    lines.push_back(
        "Shared secure website configured - be sure to set up a secure certificate and start the "
        "site!");
    lines.push_back("Shared secure site started.");
    return lines;
}();
const std::string kInjected = " - " + kInjectedText;

void cutKeys(const WebServerStageRun& stage, const std::string& from, const std::string& through) {
    auto text = stage.machine.readFile(stage.metabasePath());
    const auto begin = text.find(from);
    const auto end = text.find(through, begin) + through.size() + 2;
    text.erase(begin, end - begin);
    stage.machine.writeFile(stage.metabasePath(), text);
}

struct EndingCase {
    const char* name;
    std::string sample = "windows2003";
    std::function<void(SettingsRecord&)> settings = [](SettingsRecord&) {};
    std::function<void(WebServerStageRun&)> machine = [](WebServerStageRun&) {};
    std::vector<InjectedFault> faults = {};
    Lines before = {};      // lines logged before the ending line
    std::string line = {};  // the ending line ("{FILE}" stands for the metabase's host path)
};

std::vector<EndingCase> endingCases() {
    const auto select = [](std::string SettingsRecord::*field, std::string value) {
        return [field, value](SettingsRecord& s) { s.*field = value; };
    };
    return {
        {.name = "no metabase",
         .machine =
             [](WebServerStageRun& m) { std::filesystem::remove(m.machine.host(kMetabase2003)); },
         .line = "ERROR: Could not retrieve IIS web information - The system cannot find the path "
                 "specified."},
        {.name = "metabase not well-formed",
         .machine =
             [](WebServerStageRun& m) {
                 m.machine.writeFile(kMetabase2003, "<configuration><MBProperty>\n<IIsWebService");
             },
         .line = "ERROR: Could not retrieve IIS web information - The metabase file {FILE} cannot "
                 "be read: not well-formed XML (Error parsing start element tag) at line 2, "
                 "column 14 (offset 41)."},
        {.name = "no FTP service",
         .machine =
             [](WebServerStageRun& m) { cutKeys(m, "<IIsFtpService", "</IIsFtpVirtualDir>"); },
         .line = "ERROR: Could not retrieve IIS FTP information - The system cannot find the path "
                 "specified."},
        {.name = "no pool container",
         .machine =
             [](WebServerStageRun& m) {
                 cutKeys(m, "<IIsApplicationPools", "</IIsApplicationPool>");
             },
         .line = "ERROR: Could not retrieve IIS application pool information - The system cannot "
                 "find the path specified."},
        {.name = "pool not created",
         .faults = {{"Create", "IIS://LocalHost/W3SVC/AppPools/Tessaron"}},
         .line =
             "ERROR: Could not create IIS application pool for Tessaron control panel" + kInjected},
        {.name = "read-only metabase",
         .machine = [](WebServerStageRun& m) { m.machine.setReadOnly(kMetabase2003, true); },
         .line = "ERROR: Could not set properties of IIS application pool for Tessaron control "
                 "panel - Access is denied."},
        {.name = "read-only metabase without pools",
         .sample = "windows2000",
         .machine = [](WebServerStageRun& m) { m.machine.setReadOnly(kMetabase2000, true); },
         .line = "ERROR: Could not set properties for new Tessaron control panel site - Access is "
                 "denied."},
        {.name = "control panel site not created",
         .faults = {{"Create", "IIS://LocalHost/W3SVC/3"}},
         .before = {kPool},
         .line = "Could not create Tessaron control panel site at #3" + kInjected},
        {.name = "control panel site not found",
         .settings = select(&SettingsRecord::ControlPanelSiteSelection, "Gone Site"),
         .before = {kPool},
         .line = "Could not find website \"Gone Site\"."},
        {.name = "control panel site gone before it is opened",
         .settings = select(&SettingsRecord::ControlPanelSiteSelection, "Administration"),
         .faults = {{"Open", "IIS://LocalHost/W3SVC/2"}},
         .before = {kPool},
         .line = "ERROR: Could not set properties for new Tessaron control panel site - Object "
                 "required"},
        {.name = "root path refused",
         .faults = {{"Put", "IIS://LocalHost/W3SVC/3/ROOT", "Path"}},
         .before = {kPool},
         .line = "ERROR: Could not create root application for Tessaron control panel site" +
                 kInjected},
        {.name = "root application refused",
         .faults = {{"AppCreate2", "IIS://LocalHost/W3SVC/3/ROOT"}},
         .before = {kPool},
         .line = "ERROR: Could not create root application for Tessaron control panel site" +
                 kInjected},
        {.name = "root not committed",
         .faults = {{"SetInfo", "IIS://LocalHost/W3SVC/3/ROOT"}},
         .before = {kPool},
         .line = "ERROR: Could not set information for root application for Tessaron control "
                 "panel site" +
                 kInjected},
        // The commit that follows the failed creation fails too, and the
        // line quotes the most recent failure.
        {.name = "FTP site not created",
         .faults = {{"Create", "IIS://LocalHost/MSFTPSVC/2"}},
         .before = kControlPanel,
         .line = "Could not create new FTP at #2 - Object required"},
        {.name = "new FTP site not committed",
         .faults = {{"SetInfo", "IIS://LocalHost/MSFTPSVC/2"}},
         .before = kControlPanel,
         .line = "Could not create new FTP at #2" + kInjected},
        {.name = "FTP site not found",
         .settings = select(&SettingsRecord::MainFTPSVCSelection, "Gone FTP"),
         .before = kControlPanel,
         .line = "Could not find FTP \"Gone FTP\"."},
        {.name = "FTP site properties refused",
         .faults = {{"Put", "IIS://LocalHost/MSFTPSVC/2", "AllowAnonymous"}},
         .before = kControlPanel,
         .line = "Could not set proper information for Tessaron FTP" + kInjected},
        {.name = "FTP root not created",
         .faults = {{"Create", "IIS://LocalHost/MSFTPSVC/2/ROOT"}},
         .before = kControlPanel,
         .line = "Could not retrieve/create Tessaron FTP root" + kInjected},
        {.name = "FTP root not committed",
         .faults = {{"SetInfo", "IIS://LocalHost/MSFTPSVC/2/ROOT"}},
         .before = kControlPanel,
         .line = "Could not set proper information for Tessaron FTP root directory" + kInjected},
        {.name = "shared secure site not created",
         .faults = {{"Create", "IIS://LocalHost/W3SVC/4"}},
         .before = kUpToSharedSecure,
         .line = "Could not create shared secure site at #4" + kInjected},
        {.name = "shared secure site not found",
         .settings = select(&SettingsRecord::SharedSecureSVCSelection, "Gone Secure"),
         .before = kUpToSharedSecure,
         .line = "Could not find website \"Gone Secure\"."},
        {.name = "shared secure bindings refused",
         .faults = {{"Put", "IIS://LocalHost/W3SVC/4", "SecureBindings"}},
         .before = kUpToSharedSecure,
         .line = "ERROR: Could not set properties for new shared secure site" + kInjected},
        {.name = "shared secure root not created",
         .faults = {{"Create", "IIS://LocalHost/W3SVC/4/ROOT"}},
         .before = kUpToSharedSecure,
         .line = "ERROR: Could not create root application definition for shared secure site" +
                 kInjected},
        {.name = "shared secure application refused",
         .faults = {{"AppCreate", "IIS://LocalHost/W3SVC/4/ROOT"}},
         .before = kUpToSharedSecure,
         .line = "ERROR: Could not create root application for shared secure site" + kInjected},
        {.name = "shared secure root not committed",
         .faults = {{"SetInfo", "IIS://LocalHost/W3SVC/4/ROOT"}},
         .before = kUpToSharedSecure,
         .line = "ERROR: Could not set information for root application for shared secure site" +
                 kInjected},
        {.name = "preview site not created",
         .faults = {{"Create", "IIS://LocalHost/W3SVC/5"}},
         .before = kUpToPreview,
         .line = "Could not create preview site at #5" + kInjected},
        {.name = "preview site not found",
         .settings = select(&SettingsRecord::PreviewSVCSelection, "Gone Preview"),
         .before = kUpToPreview,
         .line = "Could not find website \"Gone Preview\"."},
        {.name = "preview properties not committed",
         .faults = {{"SetInfo", "IIS://LocalHost/W3SVC/5"}},
         .before = kUpToPreview,
         .line = "ERROR: Could not set properties for new website preview site" + kInjected},
        {.name = "preview root not created",
         .faults = {{"Create", "IIS://LocalHost/W3SVC/5/ROOT"}},
         .before = kUpToPreview,
         .line = "ERROR: Could not create root application definition for website preview site" +
                 kInjected},
        {.name = "preview script access refused",
         .faults = {{"Put", "IIS://LocalHost/W3SVC/5/ROOT", "AccessScript"}},
         .before = kUpToPreview,
         .line = "ERROR: Could not create root application for website preview site" + kInjected},
        {.name = "preview root not committed",
         .faults = {{"SetInfo", "IIS://LocalHost/W3SVC/5/ROOT"}},
         .before = kUpToPreview,
         .line = "ERROR: Could not set information for root application for website preview site" +
                 kInjected},
    };
}

TEST(WebServerStageEnding, EachErrorLineEndsTheStage) {
    for (const auto& test : endingCases()) {
        SCOPED_TRACE(test.name);
        auto settings = allNewSitesSettings();
        test.settings(settings);
        WebServerStageRun stage(TestMachine::sample(test.sample), settings, test.faults);
        const auto file = stage.machine.host(stage.metabasePath()).string();
        test.machine(stage);
        const auto metabaseBefore = stage.machine.readFile(stage.metabasePath());

        EXPECT_FALSE(stage.runStage());
        Lines expected = test.before;
        expected.push_back(replaceAll(test.line, "{FILE}", file));
        EXPECT_EQ(stage.log.entries(), expected);
        if (test.line.find("Access is denied.") != std::string::npos ||
            test.line.find("{FILE}") != std::string::npos) {
            EXPECT_EQ(stage.machine.readFile(stage.metabasePath()), metabaseBefore);
        }
    }
}

TEST(WebServerStageEnding, CommittedWorkStaysWhenTheStageEnds) {
    WebServerStageRun stage(TestMachine::sample("windows2003"), allNewSitesSettings(),
                            {{"SetInfo", "IIS://LocalHost/W3SVC/3/ROOT"}});
    EXPECT_FALSE(stage.runStage());
    auto metabase = stage.metabaseOnDisk();
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/AppPools/Tessaron", "Class"),
              "IIsApplicationPool");
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/3", "ServerComment"),
              "Tessaron - Control Panel");
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/3/ROOT", "Class"), "(missing)");
}

}  // namespace
}  // namespace tessaron::testing
