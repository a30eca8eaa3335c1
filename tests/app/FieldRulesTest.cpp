// The settings window's rules as a user meets them on a window loaded from a
// machine image: what ticking a box, choosing an entry, typing or choosing a
// folder does to the other controls, and what the install button then copies
// into the record and the run writes to config.inc.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "app/window/DialogControls.h"
#include "app/window/FieldTable.h"
#include "app/window/MainFormControls.h"
#include "platform/Text.h"
#include "settings/ConfigKeys.h"
#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

using tessaron::testing::MachineSetup;
using window::Control;
using window::ControlDesign;
using window::ControlKind;
using window::ControlModel;
using window::ControlProperty;
using window::CopiedAs;
using window::fieldTable;
using window::FileChooser;
using window::findControlDesign;
using window::findFieldOfControl;
using window::findFieldReadFrom;
using window::FolderChooser;
using window::FormDesign;
namespace frmMain = window::frmMain;
using window::kChecked;
using window::kGreyed;
using window::kUnchecked;
using window::mainFormDesign;
using window::MessageAnswer;
using window::ReadBack;
using window::SearchComboForValue;

namespace {

TEST(Catalogue, InitialStatesAgreeWithTheirCheckBoxes) {
    WindowOnMachine w({}, MessageAnswer::No, /*load=*/false);
    auto& c = w.controls();
    EXPECT_EQ(c.checked("chkInternalIP"), kGreyed);
    EXPECT_FALSE(c.enabled("txtInternalIP"));
    // A user's click ticks a greyed box; the next one clears it.
    c.clickCheckBox("chkInternalIP");
    EXPECT_EQ(c.checked("chkInternalIP"), kChecked);
    EXPECT_TRUE(c.enabled("txtInternalIP"));
    c.clickCheckBox("chkInternalIP");
    EXPECT_EQ(c.checked("chkInternalIP"), kUnchecked);
    EXPECT_EQ(c.checked("chkMSSQLActive"), kUnchecked);
    EXPECT_FALSE(c.enabled("txtSQLServerIP"));
    EXPECT_FALSE(c.enabled("lblMySQL4"));
    EXPECT_TRUE(c.enabled("btnMySQLDataPath"));
    EXPECT_EQ(c.checked("chkMailServerEnabled"), kChecked);
    EXPECT_TRUE(c.enabled("txtMailServerDir"));
    EXPECT_EQ(c.entries("cmbMainSQLServerType"), std::vector<std::string>({"SQL Server", "MySQL"}));
    EXPECT_EQ(c.text("txtWebmailURL"), "http://mail.<$DOMAINNAME$>");
    EXPECT_EQ(mainFormDesign().tabCaptions,
              std::vector<std::string>(
                  {"General", "Database", "Mail Server", "DNS Server", "SQL Server", "FTP/Web"}));
    // Every control of the six tabs is catalogued, 119 in all.
    int onTabs = 0;
    for (const auto& setup : mainFormDesign().controls) onTabs += setup.tab >= 0;
    EXPECT_EQ(onTabs, 31 + 12 + 14 + 17 + 23 + 22);
    EXPECT_EQ(findControlDesign(mainFormDesign(), "lblSQLServer3")->helpText,
              "The database user's password.");
}

// The named controls and the field table hold each other and the catalogue
// together: a row naming a control of the wrong kind, a group that is no
// check box, a field in two rows or a key the reader never matches would
// only show as a wrong value in some run.
TEST(Catalogue, FieldTableRowsAreCataloguedControlsOfTheirKind) {
    const FormDesign& form = mainFormDesign();
    for (std::string_view name : frmMain::kNamedControls) {
        EXPECT_NE(findControlDesign(form, name), nullptr) << name;
    }
    for (std::string_view name : window::frmInstall::kNamedControls) {
        EXPECT_NE(findControlDesign(window::installFormDesign(), name), nullptr) << name;
    }
    for (std::string_view name : window::frmProgress::kNamedControls) {
        EXPECT_NE(findControlDesign(window::progressFormDesign(), name), nullptr) << name;
    }
    const auto kindOf = [&form](std::string_view name) {
        const ControlDesign* design = findControlDesign(form, name);
        return design ? design->kind : ControlKind::FileDialog;
    };
    std::vector<std::string SettingsRecord::*> fields;
    for (const auto& row : fieldTable()) {
        SCOPED_TRACE(std::string(row.control));
        switch (row.copied) {
            case CopiedAs::Switch:
                EXPECT_EQ(kindOf(row.control), ControlKind::CheckBox);
                break;
            case CopiedAs::Selection:
                EXPECT_EQ(kindOf(row.control), ControlKind::DropDownList);
                break;
            default:
                EXPECT_TRUE(kindOf(row.control) == ControlKind::TextBox ||
                            kindOf(row.control) == ControlKind::DropDownList);
        }
        if (!row.group.empty()) {
            EXPECT_EQ(kindOf(row.group), ControlKind::CheckBox);
        }
        if (!row.label.empty()) {
            EXPECT_NE(findControlDesign(form, row.label), nullptr);
        }
        for (std::string_view listed : row.readListed) {
            if (row.readBack != ReadBack::SiteLookup) {
                EXPECT_NE(findControlDesign(form, listed), nullptr) << listed;
            }
        }
        EXPECT_EQ(std::count(fields.begin(), fields.end(), row.field), 0);
        fields.push_back(row.field);
        EXPECT_EQ(findFieldOfControl(row.control), &row);
        if (row.readBack == ReadBack::NotRead) continue;
        const auto key =
            std::find_if(configKeys().begin(), configKeys().end(),
                         [&row](const ConfigKey& k) { return k.field == row.readField(); });
        ASSERT_NE(key, configKeys().end());
        EXPECT_EQ(findReadKey(asciiLower(key->name)), &*key);
        EXPECT_EQ(findFieldReadFrom(row.readField()), &row);
    }
}

TEST(Catalogue, OnlyTheAddressBoxesAreLimitedToFifteenCharacters) {
    WindowOnMachine w;
    auto& c = w.controls();
    c.setText("txtMainIP", "1234567890123456789");
    EXPECT_EQ(c.text("txtMainIP"), "123456789012345");
    c.setChecked("chkInternalIP", kChecked);
    c.setText("txtInternalIP", "abcdefghijklmnopq");
    EXPECT_EQ(c.text("txtInternalIP"), "abcdefghijklmno");
    // The limit counts characters, not bytes: no character is cut in half.
    std::string accented;
    for (int i = 0; i < 16; ++i) accented += "\xC3\xA9";  // U+00E9
    c.setText("txtMainIP", accented);
    EXPECT_EQ(c.text("txtMainIP"), accented.substr(0, 30));
    c.setText("txtControlPanelTitle", std::string(40, 'x'));
    EXPECT_EQ(c.text("txtControlPanelTitle").size(), 40u);
}

using S = SettingsRecord;

bool holdsLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void select(ControlModel& c, const char* list, const std::string& text) {
    const auto& entries = c.entries(list);
    const auto found = std::find(entries.begin(), entries.end(), text);
    ASSERT_NE(found, entries.end()) << text << " is not in " << list;
    c.setSelectedIndex(list, static_cast<int>(std::distance(entries.begin(), found)));
}

// A section's box, one of the fields it switches, and the switch the install
// button gives the record (and the run config.inc, where the body has it).
struct Section {
    const char* box;
    const char* field;
    std::string S::*flag;
    const char* key;  // null: the site lines after the body carry it
};

TEST(FieldRules, SectionBoxSwitchesItsFieldsKeepsTheirTextAndGivesTheSwitch) {
    const std::vector<Section> sections = {
        {"chkMSSQLActive", "txtSQLServerAdminUsername", &S::MSSQLActive, "MSSQLActive"},
        {"chkMySQLActive", "txtMySQLAdminUsername", &S::MySQLActive, "MySQLActive"},
        {"chkMailServerEnabled", "txtMailServerIP", &S::MailServerEnabled, "MailServerEnabled"},
        {"chkDNSServerEnabled", "txtSecondaryDNS", &S::DNSServerEnabled, "DNSServerEnabled"},
        {"chkFTPServerEnabled", "txtFTPServerPath", &S::FTPServerEnabled, "FTPServerEnabled"},
        {"chkSharedSecure", "txtSharedSecureServer", &S::EnableSharedSecure, nullptr},
        {"chkStatistics", "cmbStatisticsType", &S::EnableStatistics, "EnableStatistics"},
        {"chkWebmail", "txtWebmailURL", &S::EnableWebmail, "EnableWebmail"},
        {"chkWebsitePreview", "cmbPreviewSVC", &S::EnableWebsitePreview, nullptr},
    };
    for (const auto& section : sections) {
        WindowOnMachine w;
        auto& c = w.controls();
        const bool textBox = c[section.field].kind() == ControlKind::TextBox;
        if (textBox) c.setText(section.field, "kept");
        // A greyed box counts as not ticked.
        for (int value : {kGreyed, kChecked, kUnchecked, kChecked}) {
            c.setChecked(section.box, value);
            const bool on = value == kChecked;
            EXPECT_EQ(c.enabled(section.field), on) << section.box << " " << value;
            if (textBox) {
                EXPECT_EQ(c.text(section.field), "kept") << section.box;
            }
            const auto config = configIncAfterInstall(w);
            EXPECT_EQ(w.settings.*(section.flag), on ? "True" : "False") << section.box;
            if (section.key) {
                EXPECT_TRUE(
                    holdsLine(config, std::string(section.key) + " = " + (on ? "True" : "False")))
                    << section.box << " " << value;
            }
        }
    }
}

TEST(FieldRules, OnlyTheDatabaseSectionsLeaveTheirFolderButtonsEnabled) {
    const std::vector<std::tuple<const char*, const char*, bool>> buttons = {
        {"chkMSSQLActive", "btnSQLServerDataPath", false},
        {"chkMySQLActive", "btnMySQLDataPath", false},
        {"chkMailServerEnabled", "cmdChooseMailServerDir", true},
        {"chkDNSServerEnabled", "cmdDNSRoot", true},
        {"chkFTPServerEnabled", "btnFTPServerPath", true},
    };
    WindowOnMachine w;
    auto& c = w.controls();
    for (const auto& [box, button, switched] : buttons) {
        c.setChecked(box, kChecked);
        EXPECT_TRUE(c.enabled(button)) << button;
        c.setChecked(box, kUnchecked);
        EXPECT_EQ(c.enabled(button), !switched) << button;
    }
}

TEST(FieldRules, EnablingMailEnablesTheWebmailAddressWhateverItsBox) {
    WindowOnMachine w;
    auto& c = w.controls();
    c.setChecked("chkWebmail", kUnchecked);
    EXPECT_FALSE(c.enabled("txtWebmailURL"));
    c.setChecked("chkMailServerEnabled", kUnchecked);
    c.setChecked("chkMailServerEnabled", kChecked);
    EXPECT_TRUE(c.enabled("txtWebmailURL"));
    EXPECT_EQ(c.checked("chkWebmail"), kUnchecked);
    // Enabled or not, the address goes with its own box.
    const auto config = configIncAfterInstall(w);
    EXPECT_TRUE(holdsLine(config, "EnableWebmail = False"));
    EXPECT_TRUE(holdsLine(config, "WebmailURL = \"\""));
}

TEST(FieldRules, SettingTheValueAControlHoldsFiresNothing) {
    WindowOnMachine w;
    auto& c = w.controls();
    int changes = 0;
    c.addObserver([&changes](const Control&, ControlProperty) { ++changes; });
    c.setChecked("chkStatistics", c.checked("chkStatistics"));
    c.setText("txtMainIP", c.text("txtMainIP"));
    c.setSelectedIndex("cmbFTPServerType", c.selectedIndex("cmbFTPServerType"));
    EXPECT_EQ(changes, 0);
    c.setChecked("chkStatistics", kUnchecked);
    EXPECT_FALSE(c.enabled("cmbStatisticsType"));
    EXPECT_GT(changes, 0);
}

struct FtpCase {
    const char* type;
    bool siteListShown;  // cmbMainFTPSVC and its label; else the folder box, button and label
    const char* usage;   // the caption of lblFTPUsage
};

TEST(FieldRules, FtpServerTypeSwapsTheControlsAndTheUsageText) {
    const std::vector<FtpCase> cases = {
        {"BulletProof FTP", false,
         "BulletProof FTP Usage:\r\nTessaron will create new users on the default BulletProof "
         "FTP domain.  It is recommended to have BulletProof FTP listening on all IP addresses "
         "in order to function properly."},
        {"Serv-U", false,
         "Serv-U Usage:\r\nTessaron will create new users in the first domain that exists in "
         "Serv-U.  Please make sure that you have created the domain in Serv-U before "
         "configuring Tessaron.  It is recommended to have this domain listening on all IP "
         "addresses in order to function properly."},
        {"Gene6 FTP Server", false,
         "Gene6 FTP Server:\r\nTessaron will create new users in the domain 'Tessaron'.  Please "
         "make sure that this domain exists in Gene6 FTP Server before configuring Tessaron.  It "
         "is recommended to have this domain listening on all IP addresses (or 0.0.0.0) in order "
         "to function properly.  Also, be sure that the Administrator user has access to the "
         "server's COM objects via dcomcnfg or by running the service as Administrator."},
        {"Microsoft FTP", true,
         "Microsoft FTP Usage:\r\nTessaron can either create a new FTP site, or use an existing "
         "FTP site.  The site used must listen on all IP addresses in order to function "
         "properly."},
    };
    WindowOnMachine w;
    auto& c = w.controls();
    for (const auto& ftp : cases) {
        select(c, "cmbFTPServerType", ftp.type);
        for (const char* name : {"cmbMainFTPSVC", "lblMainFTPSVC"}) {
            EXPECT_EQ(c.visible(name), ftp.siteListShown) << ftp.type << " " << name;
        }
        for (const char* name : {"txtFTPServerPath", "btnFTPServerPath", "lblFTPServerPath"}) {
            EXPECT_EQ(c.visible(name), !ftp.siteListShown) << ftp.type << " " << name;
        }
        EXPECT_EQ(c.text("lblFTPUsage"), ftp.usage);
        c.press("btnInstall");
        EXPECT_EQ(w.settings.FTPServerType, ftp.type);
    }

    // An entry outside the four changes neither the controls nor the text,
    // but the record takes it.
    c.addEntry("cmbFTPServerType", "Other FTP");
    select(c, "cmbFTPServerType", "Other FTP");
    EXPECT_EQ(c.text("lblFTPUsage"), cases.back().usage);
    EXPECT_TRUE(c.visible("cmbMainFTPSVC"));
    EXPECT_FALSE(c.visible("txtFTPServerPath"));
    c.press("btnInstall");
    EXPECT_EQ(w.settings.FTPServerType, "Other FTP");
}

TEST(FieldRules, InternalAddressFollowsTheMainAddressOnlyWhileUnchecked) {
    MachineSetup setup;
    setup.addresses = {"172.16.0.1"};
    WindowOnMachine w(setup);
    auto& c = w.controls();
    ASSERT_EQ(c.checked("chkInternalIP"), kUnchecked);
    for (const std::string typed : {"8", "8.8", "8.8.4.4"}) {
        c.setText("txtMainIP", typed);
        EXPECT_EQ(c.text("txtInternalIP"), typed);
    }
    auto config = configIncAfterInstall(w);
    EXPECT_TRUE(holdsLine(config, "ServerIP = \"8.8.4.4\""));
    EXPECT_TRUE(holdsLine(config, "InternalIP = \"8.8.4.4\""));

    c.setChecked("chkInternalIP", kChecked);
    EXPECT_TRUE(c.enabled("txtInternalIP"));
    c.setText("txtInternalIP", "10.0.0.9");
    c.setText("txtMainIP", "9.9.9.9");
    EXPECT_EQ(c.text("txtInternalIP"), "10.0.0.9");
    config = configIncAfterInstall(w);
    EXPECT_TRUE(holdsLine(config, "ServerIP = \"9.9.9.9\""));
    EXPECT_TRUE(holdsLine(config, "InternalIP = \"10.0.0.9\""));

    // A greyed box counts as not ticked: clearing it copies the main address,
    // but typing in the main address does not mirror.
    c.setChecked("chkInternalIP", kGreyed);
    EXPECT_FALSE(c.enabled("txtInternalIP"));
    EXPECT_EQ(c.text("txtInternalIP"), "9.9.9.9");
    c.setText("txtMainIP", "7.7.7.7");
    EXPECT_EQ(c.text("txtInternalIP"), "9.9.9.9");
    c.press("btnInstall");
    EXPECT_EQ(w.settings.ServerIP, "7.7.7.7");
    EXPECT_EQ(w.settings.InternalIP, "9.9.9.9");

    // Unchecking copies the main address across.
    c.setChecked("chkInternalIP", kUnchecked);
    EXPECT_EQ(c.text("txtInternalIP"), "7.7.7.7");
    c.press("btnInstall");
    EXPECT_EQ(w.settings.InternalIP, "7.7.7.7");
}

TEST(FieldRules, SearchComboForValueSelectsTheLastEqualEntry) {
    MachineSetup setup;
    setup.webSites = {{"1", "Shop"}, {"2", "Blog"}, {"3", "Shop"}};
    WindowOnMachine w(setup);
    auto& c = w.controls();
    SearchComboForValue(c, "cmbControlPanelSite", "Shop");
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 3);
    SearchComboForValue(c, "cmbControlPanelSite", "shop");  // case-sensitive: no match
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 3);
    SearchComboForValue(c, "cmbControlPanelSite", "");
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 3);
    SearchComboForValue(c, "cmbControlPanelSite", "Blog");
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 2);
}

class ScriptedFolders : public FolderChooser {
public:
    std::string BrowseForFolder(const std::string& title, const std::string& start) override {
        titles.push_back(title);
        starts.push_back(start);
        return answer;
    }
    std::string answer;
    std::vector<std::string> titles, starts;
};

class ScriptedFiles : public FileChooser {
public:
    std::optional<std::string> ChooseFile(const std::string& filter, int flags) override {
        filters.push_back(filter);
        lastFlags = flags;
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> filters;
    int lastFlags = 0;
};

struct FolderCase {
    const char* button;
    const char* title;
    const char* box;
    std::string S::*setting;
    const char* recorded;  // the setting after the install button
};

// The chosen folder, trimmed, goes into the box. Sections that are off (SQL
// Server and MySQL hosting on a fresh window) and FTP servers that use no
// folder keep what was chosen as it was chosen; the others take the box,
// with the trailing backslash where their setting needs one.
TEST(Choosers, ChosenFolderReachesTheBoxAndTheRecord) {
    const std::vector<FolderCase> cases = {
        {"btnServerRoot", "Choose your Tessaron accounts directory", "txtServerRoot",
         &S::ServerRoot, "D:\\Chosen"},
        {"btnLogRoot", "Choose your IIS log files directory", "txtLogRoot", &S::LogRoot,
         "D:\\Chosen"},
        {"cmdChooseMailServerDir", "Choose your mail server's base directory", "txtMailServerDir",
         &S::MailServerDir, "D:\\Chosen\\"},
        {"cmdDNSRoot", "Choose your primary DNS data directory", "txtDNSRoot", &S::DNSRoot,
         "D:\\Chosen\\"},
        {"btnSQLServerDataPath", "Choose your SQL Server data path directory",
         "txtSQLServerDataPath", &S::SQLServerDataPath, "D:\\Chosen"},
        {"btnMySQLDataPath", "Choose your MySQL data path directory", "txtMySQLDataPath",
         &S::MySQLDataPath, "D:\\Chosen"},
        {"btnFTPServerPath", "Choose your FTP server's base directory", "txtFTPServerPath",
         &S::FTPServerPath, "D:\\Chosen"},
    };
    for (const auto& chooser : cases) {
        WindowOnMachine w;
        ScriptedFolders folders;
        w.window->setFolderChooser(&folders);
        auto& c = w.controls();
        select(c, "cmbFTPServerType", "Serv-U");
        c.setText(chooser.box, "C:\\Start");
        folders.answer = "  D:\\Chosen  ";
        c.press(chooser.button);
        ASSERT_EQ(folders.titles.size(), 1u);
        EXPECT_EQ(folders.titles.back(), chooser.title);
        EXPECT_EQ(folders.starts.back(), "C:\\Start");
        EXPECT_EQ(c.text(chooser.box), "D:\\Chosen");

        // Blanks only, or nothing: cancelled, nothing changes.
        for (const std::string cancel : {"", "   "}) {
            folders.answer = cancel;
            c.press(chooser.button);
            EXPECT_EQ(c.text(chooser.box), "D:\\Chosen") << chooser.button;
        }
        c.press("btnInstall");
        EXPECT_EQ(w.settings.*(chooser.setting), chooser.recorded) << chooser.button;
    }
}

TEST(Choosers, FileChooserFillsTheBoxOnlyWhenAFileIsChosen) {
    WindowOnMachine w;
    ScriptedFiles files;
    w.window->setFileChooser(&files);
    auto& c = w.controls();
    files.answer = "C:\\Perl\\bin\\perl.exe";
    c.press("btnPerl");
    EXPECT_EQ(files.filters.back(), "Perl Executable (perl.exe)|perl.exe");
    EXPECT_EQ(files.lastFlags, 4096);
    EXPECT_EQ(c.text("txtPerlLocation"), "C:\\Perl\\bin\\perl.exe");
    files.answer.reset();
    c.press("btnPHP");
    EXPECT_EQ(files.filters.back(),
              "PHP Executable (php.exe)|php.exe|PHP ISAPI (php4isapi.dll)|php4isapi.dll");
    EXPECT_EQ(c.text("txtPHPLocation"), "");
    // The record takes the locations from the boxes, for the boxes ticked.
    c.setChecked("chkPerl", kChecked);
    c.press("btnInstall");
    EXPECT_EQ(w.settings.PerlLocation, "C:\\Perl\\bin\\perl.exe");
}

}  // namespace
}  // namespace tessaron::app::testing
