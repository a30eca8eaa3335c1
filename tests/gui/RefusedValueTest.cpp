// A value the run could not write safely, typed into the window: pressing
// the install button shows a message box naming the field and opens no
// options dialog.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

#include "GuiSupport.h"
#include "app/window/InputValidation.h"
#include "gui/DialogMessages.h"

namespace tessaron::gui::testing {
namespace {

TEST(RefusedValue, InstallButtonShowsWhichFieldAndStartsNothing) {
    struct Case {
        std::string control;
        std::string typed;  // keys typed into the box
        std::string text;   // the message's text
    };
    const std::vector<Case> cases = {
        {"txtCustomerPort", "65536",
         "The value of \"Customer Panel Port\" on the General tab is not a whole number from 1 to "
         "65535.  Please correct it and try again."},
        {"txtInternalIP", "10.0.0.999",
         "The value of \"Internal IP\" on the General tab is neither empty nor an IPv4 address "
         "(four numbers from 0 to 255 joined by dots, such as 10.0.0.5).  Please correct it and "
         "try again."},
        {"txtAdminPassword", std::string(51, 'p'),
         "The value of \"Server Password\" on the General tab is longer than the 50 characters "
         "that the database stores.  Please correct it and try again."},
        {"txtMySQLAdminPassword", "a\tb",
         "The value of \"Server Password\" on the SQL Server tab contains a control character "
         "(such as a tab or a line break).  Please correct it and try again."},
        {"txtAdminPassword", "\xE6\x97\xA5\xE6\x9C\xAC",
         "The value of \"Server Password\" on the General tab contains the character "
         "\"\xE6\x97\xA5\" (U+65E5), which the configuration files (Windows-1252) cannot hold.  "
         "Please correct it and try again."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        ViewOnMachine w(sample2003());
        w.view->show();
        if (c.control == "txtMySQLAdminPassword") clickCheckBox(w.as<QCheckBox>("chkMySQLActive"));
        auto* box = w.as<QLineEdit>(c.control);
        ASSERT_NE(box, nullptr);
        showTabOf(box);
        box->clear();
        const bool typeable = std::all_of(c.typed.begin(), c.typed.end(), [](char k) {
            return k >= ' ' && static_cast<unsigned char>(k) < 0x7F;
        });
        if (typeable) {
            QTest::keyClicks(box, q(c.typed));
        } else {
            // A tab cannot be typed (it moves the focus), nor a character
            // without a key; pasted text reaches the model.
            w.window.controls().setText(c.control, c.typed);
        }
        EXPECT_EQ(w.window.controls().text(c.control), c.typed);

        QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
        settle();
        EXPECT_EQ(w.view->flow().dialog(), nullptr);
        ASSERT_EQ(w.messages.shown.size(), 1u);
        const auto shown = messageBox(w.messages.shown.back(), nullptr);
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("Invalid Setting"));
        EXPECT_EQ(shown->text(), q(c.text));
        EXPECT_EQ(shown->icon(), QMessageBox::Critical);
        EXPECT_EQ(shown->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(w.view->focusWidget(), box);
    }
}

// Every refused value in one box, in the window's order; the focus goes to
// the first, on its tab.
TEST(RefusedValue, AllRefusedValuesAtOnceWithTheFocusOnTheFirst) {
    ViewOnMachine w(sample2003());
    w.view->show();
    w.window.controls().setText("txtMainDatabaseName", "tab\there");
    w.window.controls().setText("txtResellerPort", "0");
    w.window.controls().setText("txtCustomerPort", "port");
    auto* tabs = w.view->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    tabs->setCurrentIndex(5);

    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    settle();
    EXPECT_EQ(w.view->flow().dialog(), nullptr);
    ASSERT_EQ(w.messages.ids(), std::vector<int>{10});
    EXPECT_EQ(w.messages.shown[0].text,
              "These values cannot be used:\n\n"
              "- \"Customer Panel Port\" on the General tab is not a whole number from 1 to "
              "65535.\n"
              "- \"Reseller Panel Port\" on the General tab is not a whole number from 1 to "
              "65535.\n"
              "- \"Database Name\" on the Database tab contains a control character (such as a "
              "tab or a line break).\n\n"
              "Please correct them and try again.");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(w.view->focusWidget(), w.widget("txtCustomerPort"));
}

TEST(RefusedValue, LineBreakSetIntoABoxIsRefusedToo) {
    ViewOnMachine w(sample2003());
    w.window.controls().setText("txtSharedSecureServer", "secure\r\nhost");
    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    settle();
    EXPECT_EQ(w.view->flow().dialog(), nullptr);
    ASSERT_EQ(w.messages.ids(), std::vector<int>{10});
    EXPECT_EQ(w.messages.shown[0].text,
              "The value of \"Shared Secure Server URL\" on the FTP/Web tab contains a control "
              "character (such as a tab or a line break).  Please correct it and try again.");
}

}  // namespace
}  // namespace tessaron::gui::testing
