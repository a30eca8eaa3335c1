// The main job by clicks: the Database tab typed in, the panel's database
// created on the throw-away MariaDB server and the sites set up, all through
// the window. Skipped without the test server (scripts/test.sh starts it).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <optional>

#include "GuiSupport.h"
#include "MariaDbSupport.h"
#include "platform/odbc/OdbcDatabase.h"

namespace tessaron::gui::testing {
namespace {

using tessaron::testing::FreshDatabase;
using tessaron::testing::kNoTestServer;
using tessaron::testing::TestServer;

void type(ViewOnMachine& w, const char* box, const std::string& text) {
    auto* edit = w.as<QLineEdit>(box);
    showTabOf(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, q(text));
}

TEST(DatabaseFlow, TheWholeRunThroughTheWindow) {
    const auto server = TestServer::fromEnvironment();
    if (!server) GTEST_SKIP() << kNoTestServer;
    std::optional<FreshDatabase> database;
    ASSERT_NO_THROW(database.emplace(*server, "window"));
    OdbcDatabase odbc;
    ViewOnMachine w(sample2003(), true, &odbc);
    ASSERT_EQ(w.loaded, app::window::LoadResult::Shown);
    w.view->show();

    auto* type_ = w.as<QComboBox>("cmbMainSQLServerType");
    showTabOf(type_);
    type_->setFocus();
    QTest::keyClick(type_, Qt::Key_Down);
    ASSERT_EQ(type_->currentText(), QStringLiteral("MySQL"));
    type(w, "txtMainDatabaseIP", server->serverAddress());
    type(w, "txtMainDatabaseName", database->name());
    type(w, "txtMainDatabaseUsername", server->user);
    type(w, "txtMainDatabasePassword", server->password);
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
    EXPECT_EQ(database->tables(), 18);
    const std::string config = w.machine.readFile("C:\\Tessaron\\panel\\config.inc");
    EXPECT_NE(config.find("ControlPanelTitle = \"Example Hosting Control Panel\""),
              std::string::npos);

    progress->close();
    EXPECT_EQ(w.ended, std::vector<int>{0});
}

}  // namespace
}  // namespace tessaron::gui::testing
