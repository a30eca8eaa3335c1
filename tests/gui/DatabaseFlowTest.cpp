// The main job by clicks: the Database tab typed in, the panel's database
// created on the throw-away MariaDB server and the sites set up, all through
// the window. Skipped without the test server (scripts/test.sh starts it).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <cstdlib>
#include <optional>

#include "GuiSupport.h"
#include "platform/odbc/OdbcDatabase.h"

namespace tessaron::gui::testing {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The throw-away server of scripts/test-mariadb.sh and a database of this
// test's own on it, dropped at the end.
struct TestDatabase {
    std::string host = variable("TESSARON_TEST_DB_HOST");
    std::string port = variable("TESSARON_TEST_DB_PORT");
    std::string user = variable("TESSARON_TEST_DB_USER");
    std::string password = variable("TESSARON_TEST_DB_PASSWORD");
    std::string name = "t_window_" + std::to_string(getpid());
    OdbcDatabase odbc;
    std::unique_ptr<DatabaseConnection> admin;

    bool available() const { return !port.empty(); }
    std::string address() const { return (host.empty() ? "127.0.0.1" : host) + ";Port=" + port; }
    void create() {
        admin = odbc.Open("DRIVER={MySQL ODBC 3.51 Driver};Server=" + address() + ";UID=" + user +
                          ";PWD=" + password + ";");
        admin->Execute("CREATE DATABASE `" + name + "`");
    }
    ~TestDatabase() {
        try {
            if (admin) admin->Execute("DROP DATABASE IF EXISTS `" + name + "`");
        } catch (...) {
        }
    }
};

void type(ViewOnMachine& w, const char* box, const std::string& text) {
    auto* edit = w.as<QLineEdit>(box);
    showTabOf(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, q(text));
}

TEST(DatabaseFlow, TheWholeRunThroughTheWindow) {
    TestDatabase database;
    if (!database.available()) {
        GTEST_SKIP() << "TESSARON_TEST_DB_PORT is not set: start the test server with "
                        "eval \"$(scripts/test-mariadb.sh start)\"";
    }
    ASSERT_NO_THROW(database.create());
    ViewOnMachine w(sample2003(), true, &database.odbc);
    ASSERT_EQ(w.loaded, app::window::LoadResult::Shown);
    w.view->show();

    auto* type_ = w.as<QComboBox>("cmbMainSQLServerType");
    showTabOf(type_);
    type_->setFocus();
    QTest::keyClick(type_, Qt::Key_Down);
    ASSERT_EQ(type_->currentText(), QStringLiteral("MySQL"));
    type(w, "txtMainDatabaseIP", database.address());
    type(w, "txtMainDatabaseName", database.name);
    type(w, "txtMainDatabaseUsername", database.user);
    type(w, "txtMainDatabasePassword", database.password);
    type(w, "txtControlPanelTitle", "Example Hosting Control Panel");

    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    auto* dialog = w.view->flow().dialog();
    ASSERT_NE(dialog, nullptr);
    clickCheckBox(qobject_cast<QCheckBox*>(dialog->control("chkInitDB")));
    clickCheckBox(qobject_cast<QCheckBox*>(dialog->control("chkSetupIIS")));
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    QPointer<ProgressView> progress = w.view->flow().progress();
    ASSERT_FALSE(progress.isNull());
    ASSERT_TRUE(
        waitUntil([&] { return progress->state() == ProgressView::State::Finished; }, 120000));

    const QStringList log =
        qobject_cast<QPlainTextEdit*>(progress->control("txtProgress"))->toPlainText().split('\n');
    EXPECT_TRUE(log.contains(QStringLiteral("Tessaron database created.")))
        << log.join('\n').toStdString();
    EXPECT_EQ(log.last(), QStringLiteral("Tessaron configuration completed."));
    EXPECT_FALSE(progress->outcome().runError);
    EXPECT_EQ(database.admin->QueryNumber(
                  "SELECT COUNT(*) AS C FROM information_schema.tables WHERE table_schema = '" +
                      database.name + "'",
                  "C"),
              18);
    const std::string config = w.machine.readFile("C:\\Tessaron\\panel\\config.inc");
    EXPECT_NE(config.find("ControlPanelTitle = \"Example Hosting Control Panel\""),
              std::string::npos);

    progress->close();
    EXPECT_EQ(w.ended, std::vector<int>{0});
}

}  // namespace
}  // namespace tessaron::gui::testing
