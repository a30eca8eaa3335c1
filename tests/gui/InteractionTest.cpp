// Clicks and typing through the widgets: the window model's rules show in the
// widgets at once, and the choosers answer with Windows paths of the image.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "GuiSupport.h"
#include "gui/ImageChoosers.h"

namespace tessaron::gui::testing {
namespace {

struct SectionCase {
    const char* checkBox;
    std::vector<const char*> fields;  // enabled with the box
    const char* typed;                // a field typed into before the box is cleared
    std::string SettingsRecord::*flag;
};

void PrintTo(const SectionCase& c, std::ostream* os) {
    *os << c.checkBox;
}

class SectionCheckBoxes : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionCheckBoxes, ClickSwitchesTheFieldsAndKeepsTheirText) {
    const auto& c = GetParam();
    ViewOnMachine w(sample2003());
    w.view->show();
    auto* box = w.as<QCheckBox>(c.checkBox);
    showTabOf(box);
    const bool initiallyOn = box->checkState() == Qt::Checked;
    if (!initiallyOn) clickCheckBox(box);  // the SQL Server sections start cleared
    ASSERT_EQ(box->checkState(), Qt::Checked);

    auto* typedInto = w.as<QLineEdit>(c.typed);
    typedInto->selectAll();
    QTest::keyClicks(typedInto, "kept text");

    clickCheckBox(box);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EXPECT_EQ(w.window.controls().checked(c.checkBox), app::window::kUnchecked);
    for (const char* field : c.fields) EXPECT_FALSE(w.widget(field)->isEnabled()) << field;
    if (c.flag) {
        w.window.fillSettingsRecord();  // the install button's copy
        EXPECT_EQ(w.settings.*(c.flag), "False");
    }
    EXPECT_EQ(typedInto->text(), QStringLiteral("kept text"));

    clickCheckBox(box);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    for (const char* field : c.fields) EXPECT_TRUE(w.widget(field)->isEnabled()) << field;
    if (c.flag) {
        w.window.fillSettingsRecord();
        EXPECT_EQ(w.settings.*(c.flag), "True");
    }
    EXPECT_EQ(typedInto->text(), QStringLiteral("kept text"));
    EXPECT_EQ(w.window.controls().text(c.typed), "kept text");
}

INSTANTIATE_TEST_SUITE_P(
    Sections, SectionCheckBoxes,
    ::testing::Values(SectionCase{"chkMSSQLActive",
                                  {"lblSQLServer1", "txtSQLServerIP", "txtSQLServerAdminPassword",
                                   "txtSQLServerDataPath"},
                                  "txtSQLServerIP",
                                  nullptr},
                      SectionCase{"chkMySQLActive",
                                  {"lblMySQL4", "txtMySQLIP", "txtMySQLDataPath"},
                                  "txtMySQLIP",
                                  nullptr},
                      SectionCase{"chkMailServerEnabled",
                                  {"cmbMailServerType", "txtMailServerIP", "chkWebmail",
                                   "txtWebmailURL", "cmdChooseMailServerDir", "lblWebmailURL"},
                                  "txtMailServerIP",
                                  nullptr},
                      SectionCase{"chkDNSServerEnabled",
                                  {"cmbDNSServer", "txtPrimaryDNS", "cmdDNSRoot", "lblDNSWMI"},
                                  "txtAdminEmail",
                                  nullptr},
                      SectionCase{"chkFTPServerEnabled",
                                  {"cmbFTPServerType", "cmbMainFTPSVC", "btnFTPServerPath"},
                                  "txtFTPServerPath",
                                  nullptr},
                      SectionCase{"chkSharedSecure",
                                  {"cmbSharedSecureSVC", "txtSharedSecureServer"},
                                  "txtSharedSecureServer",
                                  &SettingsRecord::EnableSharedSecure},
                      SectionCase{"chkWebmail",
                                  {"txtWebmailURL"},
                                  "txtWebmailURL",
                                  &SettingsRecord::EnableWebmail}),
    [](const auto& info) { return std::string(info.param.checkBox); });

TEST(Interaction, StatisticsBoxSwitchesTheListAndGivesItsFlag) {
    ViewOnMachine w(sample2003());
    w.view->show();
    auto* box = w.as<QCheckBox>("chkStatistics");
    clickCheckBox(box);
    EXPECT_FALSE(w.widget("cmbStatisticsType")->isEnabled());
    w.window.fillSettingsRecord();
    EXPECT_EQ(w.settings.EnableStatistics, "False");
    clickCheckBox(box);
    EXPECT_TRUE(w.widget("cmbStatisticsType")->isEnabled());
    w.window.fillSettingsRecord();
    EXPECT_EQ(w.settings.EnableStatistics, "True");
}

TEST(Interaction, FtpServerTypeSwapsTheControlsAndTheUsageText) {
    ViewOnMachine w(sample2003());
    w.view->show();
    auto* type = w.as<QComboBox>("cmbFTPServerType");
    showTabOf(type);
    ASSERT_EQ(type->currentText(), QStringLiteral("Microsoft FTP"));
    auto* usage = w.as<QLabel>("lblFTPUsage");

    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);  // the next entry, as the user picks it
    EXPECT_EQ(type->currentText(), QStringLiteral("BulletProof FTP"));
    EXPECT_EQ(w.window.controls().selectedText("cmbFTPServerType"), "BulletProof FTP");
    for (const char* shown : {"txtFTPServerPath", "btnFTPServerPath", "lblFTPServerPath"}) {
        EXPECT_TRUE(w.widget(shown)->isVisible()) << shown;
    }
    for (const char* hidden : {"cmbMainFTPSVC", "lblMainFTPSVC"}) {
        EXPECT_FALSE(w.widget(hidden)->isVisible()) << hidden;
    }
    EXPECT_EQ(
        usage->text(),
        QStringLiteral("BulletProof FTP Usage:\nTessaron will create new users on the default "
                       "BulletProof FTP domain.  It is recommended to have BulletProof FTP "
                       "listening on all IP addresses in order to function properly."));

    QTest::keyClick(type, Qt::Key_Up);
    EXPECT_EQ(type->currentText(), QStringLiteral("Microsoft FTP"));
    EXPECT_EQ(w.window.controls().selectedText("cmbFTPServerType"), "Microsoft FTP");
    EXPECT_TRUE(w.widget("cmbMainFTPSVC")->isVisible());
    EXPECT_TRUE(w.widget("lblMainFTPSVC")->isVisible());
    EXPECT_FALSE(w.widget("txtFTPServerPath")->isVisible());
    EXPECT_TRUE(usage->text().startsWith(QStringLiteral("Microsoft FTP Usage:\n")));
}

TEST(Interaction, MainAddressTypedIntoFollowsIntoTheInternalAddressWhileItsBoxIsCleared) {
    ViewOnMachine w(sample2003());
    w.view->show();
    auto* mainIp = w.as<QLineEdit>("txtMainIP");
    auto* internalIp = w.as<QLineEdit>("txtInternalIP");
    auto* box = w.as<QCheckBox>("chkInternalIP");
    ASSERT_EQ(box->checkState(), Qt::Checked);  // 10.0.0.5 is an internal address

    clickCheckBox(box);
    EXPECT_FALSE(internalIp->isEnabled());

    mainIp->setFocus();
    mainIp->selectAll();
    QTest::keyClick(mainIp, Qt::Key_Backspace);
    EXPECT_EQ(internalIp->text(), QString());
    QString typed;
    for (const QChar c : QStringLiteral("172.16.0.9")) {
        QTest::keyClick(mainIp, c.toLatin1());
        typed += c;
        // Every keystroke reaches the internal address, in the widget and the model.
        EXPECT_EQ(mainIp->text(), typed);
        EXPECT_EQ(internalIp->text(), typed);
        EXPECT_EQ(w.window.controls().text("txtMainIP"), typed.toStdString());
        EXPECT_EQ(w.window.controls().text("txtInternalIP"), typed.toStdString());
    }

    // At most 15 characters.
    QTest::keyClicks(mainIp, "123456789");
    EXPECT_EQ(mainIp->text(), QStringLiteral("172.16.0.912345"));
    EXPECT_EQ(w.window.controls().text("txtMainIP"), "172.16.0.912345");

    // Ticked: only the main address follows typing.
    clickCheckBox(box);
    EXPECT_TRUE(internalIp->isEnabled());
    mainIp->selectAll();
    QTest::keyClicks(mainIp, "10.1.1.1");
    EXPECT_EQ(internalIp->text(), QStringLiteral("172.16.0.912345"));
    w.window.fillSettingsRecord();
    EXPECT_EQ(w.settings.ServerIP, "10.1.1.1");
    EXPECT_EQ(w.settings.InternalIP, "172.16.0.912345");
}

// Types into the folder dialog's name box as a user does: the box has the
// focus, its text is replaced.
void typeInto(QFileDialog& dialog, QLineEdit* name, const QString& text) {
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    QTest::keyClicks(name, text);
}

// The folder chooser as the window uses it, answered by the test.
struct ChooserOnView {
    explicit ChooserOnView(ViewOnMachine& w)
        : folders(w.image, w.view.get()), files(w.image, w.view.get()) {
        folders.setMessages(&w.messages);
        w.window.setFolderChooser(&folders);
        w.window.setFileChooser(&files);
    }
    ImageFolderChooser folders;
    ImageFileChooser files;
};

// Passwords are masked, also when read back from config.inc; the eye in the
// field (or Alt+F8 in it) shows one in clear and masks it again.
TEST(Secrets, PasswordFieldsAreMaskedAndShownOnlyOnRequest) {
    auto machine = sample2003();
    machine.writeFile("C:\\Tessaron\\panel\\config.inc", "AdminPassword = \"read-back\"\r\n");
    ViewOnMachine w(std::move(machine), /*load=*/false);
    w.messages.answer = app::window::MessageAnswer::Yes;  // read the existing configuration
    ASSERT_EQ(w.window.Load(), app::window::LoadResult::Shown);
    w.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.view.get()));
    for (const char* name : {"txtAdminPassword", "txtMainDatabasePassword",
                             "txtSQLServerAdminPassword", "txtMySQLAdminPassword"}) {
        SCOPED_TRACE(name);
        auto* edit = w.as<QLineEdit>(name);
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        auto* show = edit->findChild<QAction*>(QStringLiteral("actShowPassword"));
        ASSERT_NE(show, nullptr);
        show->trigger();
        EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
        show->trigger();
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        w.window.controls().setEnabled(name, true);
        showTabOf(edit);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F8, Qt::AltModifier);
        EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
        QTest::keyClick(edit, Qt::Key_F8, Qt::AltModifier);
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    }
    EXPECT_EQ(w.as<QLineEdit>("txtAdminPassword")->text(), QStringLiteral("read-back"));
    EXPECT_EQ(w.as<QLineEdit>("txtAdminUsername")->echoMode(), QLineEdit::Normal);
}

TEST(FolderChooser, OpensOnTheBoxTextAndReturnsTheChosenFolderAsWindowsPath) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ChooserOnView choosers(w);
    const QString bin = q(w.machine.host("C:\\Tessaron\\bin").string());
    QString title, openedOn;
    choosers.folders.setRunner([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        openedOn = dialog.directory().absolutePath();
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        dialog.setDirectory(bin);
        return int(QDialog::Accepted);
    });

    QTest::mouseClick(w.widget("btnServerRoot"), Qt::LeftButton);

    EXPECT_EQ(title, QStringLiteral("Choose your Tessaron accounts directory"));
    // C:\Tessaron\accounts does not exist yet: the dialog opens on its parent.
    EXPECT_EQ(openedOn, q(w.machine.host("C:\\Tessaron").string()));
    EXPECT_EQ(w.as<QLineEdit>("txtServerRoot")->text(), QStringLiteral("C:\\Tessaron\\bin"));
    EXPECT_EQ(w.window.controls().text("txtServerRoot"), "C:\\Tessaron\\bin");
}

TEST(FolderChooser, CancelChangesNothing) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ChooserOnView choosers(w);
    bool opened = false;
    choosers.folders.setRunner([&](QFileDialog& dialog) {
        opened = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose your IIS log files directory"));
        EXPECT_EQ(dialog.directory().absolutePath(),
                  q(w.machine.host("C:\\WINDOWS\\system32\\LogFiles").string()));
        dialog.setDirectory(q(w.machine.host("C:\\Tessaron").string()));
        return int(QDialog::Rejected);
    });
    const std::string before = w.window.controls().text("txtLogRoot");

    QTest::mouseClick(w.widget("btnLogRoot"), Qt::LeftButton);

    EXPECT_TRUE(opened);
    EXPECT_EQ(w.as<QLineEdit>("txtLogRoot")->text(), q(before));
    EXPECT_EQ(w.window.controls().text("txtLogRoot"), before);
}

TEST(FolderChooser, StaysWithinTheImagesDrives) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ChooserOnView choosers(w);
    showTabOf(w.widget("cmdDNSRoot"));
    auto* box = w.as<QLineEdit>("txtDNSRoot");
    const QString panel = q(w.machine.host("C:\\Tessaron\\panel").string());
    const QString imageFiles = q(w.machine.root().string());  // registry.reg and the drives

    // Navigating out of the drives goes back to the last folder on them.
    QString after;
    choosers.folders.setRunner([&](QFileDialog& dialog) {
        dialog.setDirectory(panel);
        emit dialog.directoryEntered(panel);
        dialog.setDirectory(imageFiles);
        emit dialog.directoryEntered(imageFiles);
        after = dialog.directory().absolutePath();
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(w.widget("cmdDNSRoot"), Qt::LeftButton);
    EXPECT_EQ(after, panel);
    EXPECT_EQ(box->text(), QStringLiteral("C:\\Tessaron\\panel"));
    EXPECT_EQ(w.window.controls().text("txtDNSRoot"), "C:\\Tessaron\\panel");

    // A host folder outside the drives typed into the dialog is refused with
    // a message; the dialog stays open and nothing changes.
    bool stillOpen = false;
    choosers.folders.setRunner([&](QFileDialog& dialog) {
        dialog.show();
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_NE(name, nullptr);
        if (!name) return int(QDialog::Rejected);
        typeInto(dialog, name, imageFiles);
        QTest::keyClick(name, Qt::Key_Return);
        stillOpen = dialog.isVisible();
        dialog.reject();
        return dialog.result();
    });
    QTest::mouseClick(w.widget("cmdDNSRoot"), Qt::LeftButton);
    EXPECT_TRUE(stillOpen);
    ASSERT_FALSE(w.messages.shown.empty());
    EXPECT_EQ(w.messages.shown.back().title, "Choose your primary DNS data directory");
    EXPECT_EQ(w.messages.shown.back().text,
              "The folder " + imageFiles.toStdString() +
                  " is outside the machine image; choose a folder on its drives (C:\\).");
    EXPECT_EQ(box->text(), QStringLiteral("C:\\Tessaron\\panel"));
    EXPECT_EQ(w.window.controls().text("txtDNSRoot"), "C:\\Tessaron\\panel");
}

TEST(FolderChooser, ShowsAndTakesWindowsPathsOfTheImage) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ChooserOnView choosers(w);
    struct Case {
        std::string typed;
        std::string chosen;   // the box afterwards
        std::string message;  // the refusal, if any
    };
    const std::vector<Case> cases = {
        {"C:\\Tessaron\\panel", "C:\\Tessaron\\panel", ""},
        {"  c:\\TESSARON\\Bin ", "C:\\Tessaron\\bin", ""},
        {"C:\\Tessaron\\nowhere", "",
         "The folder C:\\Tessaron\\nowhere does not exist on the machine image."},
        {"Q:\\data", "",
         "The folder Q:\\data is outside the machine image; choose a folder on its drives (C:\\)."},
        {"/tmp", "",
         "The folder /tmp is outside the machine image; choose a folder on its drives (C:\\)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        w.messages.shown.clear();
        QString shownAtOpen;
        bool chooseEnabledAtOpen = false;
        choosers.folders.setRunner([&](QFileDialog& dialog) {
            dialog.show();
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) return int(QDialog::Rejected);
            shownAtOpen = name->text();
            auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            for (QAbstractButton* button : buttons->buttons()) {
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    chooseEnabledAtOpen = button->isEnabled();
            }
            typeInto(dialog, name, QString::fromStdString(c.typed));
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog.isVisible()) dialog.reject();
            return dialog.result();
        });
        const std::string before = w.window.controls().text("txtServerRoot");
        QTest::mouseClick(w.widget("btnServerRoot"), Qt::LeftButton);
        // The dialog opens showing the Windows path of its folder (the first
        // time C:\Tessaron, as C:\Tessaron\accounts does not exist).
        const auto opened = imageWindowsPath(w.image, startFolder(w.image, before));
        ASSERT_TRUE(opened);
        EXPECT_EQ(shownAtOpen, q(*opened));
        EXPECT_TRUE(chooseEnabledAtOpen);  // the folder shown can be chosen as it is
        if (c.typed == cases.front().typed) {
            EXPECT_EQ(*opened, "C:\\Tessaron");
        }
        const std::string expected = c.chosen.empty() ? before : c.chosen;
        EXPECT_EQ(w.as<QLineEdit>("txtServerRoot")->text(), q(expected));
        EXPECT_EQ(w.window.controls().text("txtServerRoot"), expected);
        if (c.message.empty()) {
            EXPECT_TRUE(w.messages.shown.empty());
        } else {
            ASSERT_EQ(w.messages.shown.size(), 1u);
            EXPECT_EQ(w.messages.shown[0].text, c.message);
        }
    }
}

TEST(FolderChooser, AnswersOnlyFoldersOnTheImagesDrives) {
    ViewOnMachine w(sample2003(), /*load=*/false);
    const auto& root = w.machine.root();
    struct Case {
        std::filesystem::path host;
        std::optional<std::string> windows;
    };
    for (const Case& c :
         {Case{root / "C", "C:\\"}, Case{root / "C" / "Tessaron", "C:\\Tessaron"},
          Case{root / "C" / "Tessaron" / "." / "bin", "C:\\Tessaron\\bin"},
          Case{root, std::nullopt}, Case{root / "registry.reg", std::nullopt},
          Case{root / "C" / ".." / "..", std::nullopt}, Case{root.parent_path(), std::nullopt}}) {
        EXPECT_EQ(imageWindowsPath(w.image, c.host), c.windows) << c.host;
    }
    // A start text that maps nowhere opens on the first drive.
    EXPECT_EQ(startFolder(w.image, ""), root / "C");
    EXPECT_EQ(startFolder(w.image, "Q:\\nowhere"), root / "C");
    EXPECT_EQ(startFolder(w.image, "  c:\\tessaron\\PANEL\\missing\\deeper "),
              root / "C" / "Tessaron" / "panel");
}

struct FileCase {
    const char* button;
    const char* textBox;
    QStringList filters;
    const char* file;
};

TEST(FileChooser, FiltersAndTheChosenFileOrNothing) {
    const std::vector<FileCase> cases = {
        {"btnPerl",
         "txtPerlLocation",
         {QStringLiteral("Perl Executable (perl.exe)")},
         "C:\\Perl\\bin\\perl.exe"},
        {"btnPHP",
         "txtPHPLocation",
         {QStringLiteral("PHP Executable (php.exe)"), QStringLiteral("PHP ISAPI (php4isapi.dll)")},
         "C:\\PHP\\php4isapi.dll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        ViewOnMachine w(sample2003());
        w.machine.writeFile(c.file, "MZ");
        w.view->show();
        showTabOf(w.widget(c.button));
        ChooserOnView choosers(w);
        auto* box = w.as<QLineEdit>(c.textBox);
        const QString before = box->text();

        choosers.files.setRunner([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.nameFilters(), c.filters);
            EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(w.widget(c.button), Qt::LeftButton);
        EXPECT_EQ(box->text(), before);

        choosers.files.setRunner([&](QFileDialog& dialog) {
            dialog.selectFile(q(w.machine.host(c.file).string()));
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(w.widget(c.button), Qt::LeftButton);
        EXPECT_EQ(box->text(), QString::fromLatin1(c.file));
        EXPECT_EQ(w.window.controls().text(c.textBox), c.file);
    }
}

}  // namespace
}  // namespace tessaron::gui::testing
