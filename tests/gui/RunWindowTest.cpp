// The progress window in use: the run on its worker thread against a
// database server that never answers (the window keeps processing events,
// Cancel ends the run at a safe point within the bound, the image's files
// stay whole), the result for each ending, and Save Log.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "GuiSupport.h"
#include "platform/odbc/OdbcDatabase.h"
#include "support/SamplePaths.h"
#include "support/SilentServer.h"

namespace tessaron::gui::testing {
namespace {
using tessaron::testing::kMetabase;

using tessaron::testing::SilentServer;
using tessaron::testing::TestMachine;

const std::string kConfig = "C:\\Tessaron\\panel\\config.inc";

// Install button, the options ticked, OK: the progress window's run starts.
ProgressView* startRun(ViewOnMachine& w, std::initializer_list<const char*> boxes) {
    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    auto* dialog = w.view->flow().dialog();
    if (!dialog) return nullptr;
    for (const char* name : boxes) clickCheckBox(qobject_cast<QCheckBox*>(dialog->control(name)));
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    return w.view->flow().progress();
}

QStringList logLines(ProgressView* progress) {
    return qobject_cast<QPlainTextEdit*>(progress->control("txtProgress"))
        ->toPlainText()
        .split(QLatin1Char('\n'));
}

QString labelText(ProgressView* progress, const char* name) {
    return qobject_cast<QLabel*>(progress->control(name))->text();
}

// The longest wait between two firings of a 20 ms timer while a condition
// is awaited: how long the window left its events unprocessed.
struct PauseMeter {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    int fired = 0;
    PauseMeter() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
            ++fired;
        });
        clock.start();
        timer.start();
    }
};

class SilentDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("ODBCSYSINI")) {
            GTEST_SKIP() << "ODBCSYSINI is not set: the MariaDB driver is registered by "
                            "scripts/test-mariadb.sh (scripts/test.sh)";
        }
    }
    OdbcDatabase odbc;
    SilentServer server;
};

TEST_F(SilentDatabase, TheWindowStaysResponsiveAndCancelEndsTheRunWithinTheBound) {
    ViewOnMachine w(sample2003(), true, &odbc);
    ASSERT_EQ(w.loaded, app::window::LoadResult::Shown);
    w.view->show();
    auto& controls = w.window.controls();
    controls.setSelectedIndex("cmbMainSQLServerType", 1);  // MySQL
    controls.setText("txtMainDatabaseIP", server.address());
    controls.setText("txtMainDatabaseName", "tessaron");
    const std::string metabaseBefore = w.machine.readFile(kMetabase);

    QPointer<ProgressView> progress = startRun(w, {"chkInitDB", "chkSetupIIS"});
    ASSERT_FALSE(progress.isNull());
    auto* bar = qobject_cast<QProgressBar*>(progress->control("barProgress"));
    PauseMeter meter;
    // The run waits on the silent server in its database step.
    ASSERT_TRUE(waitUntil([&] { return server.accepted() > 0; }, 10000));
    ASSERT_TRUE(waitUntil(
        [&] { return labelText(progress, "lblStep").contains(QStringLiteral("database")); }));
    EXPECT_EQ(labelText(progress, "lblStep"),
              QStringLiteral("Step 3 of 5: Initialising the database"));
    EXPECT_EQ(bar->maximum(), 5);
    EXPECT_EQ(bar->value(), 2);
    QTest::qWait(1000);
    EXPECT_EQ(progress->state(), ProgressView::State::Running);
    EXPECT_GE(meter.fired, 25);  // the timer kept firing while the run waited

    QElapsedTimer sinceCancel;
    sinceCancel.start();
    QTest::mouseClick(progress->control("btnCancel"), Qt::LeftButton);
    EXPECT_FALSE(progress->control("btnCancel")->isEnabled());
    ASSERT_TRUE(
        waitUntil([&] { return progress->state() == ProgressView::State::Finished; }, 40000));
    EXPECT_LT(sinceCancel.elapsed(), 30000);
    EXPECT_LT(meter.longest, 250) << "the window stopped processing events";

    const QStringList log = logLines(progress);
    // The driver's own text, then the cancel at the next safe point: the
    // web sites are never started.
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log[log.size() - 2].startsWith(
        QStringLiteral("ERROR: Could not establish a connection to main MySQL database: [ma-")))
        << log.join('\n').toStdString();
    EXPECT_TRUE(log[log.size() - 2].contains(QStringLiteral("Lost connection to server")));
    EXPECT_EQ(log.last(), QStringLiteral("Tessaron configuration cancelled."));
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Tessaron Configuration Cancelled"));
    EXPECT_EQ(labelText(progress, "lblResult"),
              QStringLiteral("Cancelled before the run completed: 1 ERROR line."));

    // Files whole: config.inc complete (its 69 lines, no site lines
    // appended), the metabase as it was.
    const std::string config = w.machine.readFile(kConfig);
    EXPECT_EQ(std::count(config.begin(), config.end(), '\n'), 69);
    EXPECT_EQ(config.substr(config.size() - 2), "\r\n");
    EXPECT_EQ(w.machine.readFile(kMetabase), metabaseBefore);

    // Not completed: closing brings the options dialog back, saying why.
    progress->close();
    settle();
    EXPECT_TRUE(w.ended.empty());
    ASSERT_NE(w.view->flow().dialog(), nullptr);
    EXPECT_EQ(w.view->flow().dialog()->reason(),
              QStringLiteral("The last run was cancelled before it completed. Press OK to run "
                             "again, or Cancel to return to the settings."));
}

// The result of each ending, and the log saved exactly as logged.
struct EndingCase {
    const char* name;
    std::function<void(ViewOnMachine&)> prepare;
    std::initializer_list<const char*> boxes;
    QString title;
    QString result;
    QString lastLine;
};

TEST(RunResult, TitleResultLineAndSavedLogForEachEnding) {
    const std::vector<EndingCase> cases = {
        {"completed",
         [](ViewOnMachine&) {},
         {},
         QStringLiteral("Tessaron Configuration Completed"),
         QStringLiteral("Completed."),
         QStringLiteral("Tessaron configuration completed.")},
        {"completed with errors",
         [](ViewOnMachine& w) { w.machine.setReadOnly("C:\\Tessaron\\panel", true); },
         {},
         QStringLiteral("Tessaron Configuration Completed with Errors"),
         QStringLiteral("Completed with errors: 2 failure lines."),
         QStringLiteral("Tessaron configuration completed.")},
        {"completed with ERROR lines",
         [](ViewOnMachine& w) {
             // The database is chosen, but the server name reaches no driver.
             w.window.controls().setText("txtMainDatabaseIP", "");
         },
         {"chkInitDB"},
         QStringLiteral("Tessaron Configuration Completed with Errors"),
         QStringLiteral("Completed with errors: 1 ERROR line."),
         QStringLiteral("Tessaron configuration completed.")},
        {"stopped by a check",
         [](ViewOnMachine& w) { w.window.controls().setText("txtLogRoot", "C:\\No\\Such\\Logs"); },
         {},
         QStringLiteral("Tessaron Configuration Stopped"),
         QStringLiteral("Stopped by a check: nothing was written; see the last line of the log."),
         QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewOnMachine w(sample2003());
        ASSERT_EQ(w.loaded, app::window::LoadResult::Shown);
        w.view->show();
        c.prepare(w);
        QStringList entries;
        QPointer<ProgressView> progress = startRun(w, c.boxes);
        ASSERT_FALSE(progress.isNull());
        QObject::connect(progress, &ProgressView::entryLogged,
                         [&entries](const QString& entry) { entries << entry; });
        ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));

        EXPECT_EQ(progress->windowTitle(), c.title);
        EXPECT_EQ(labelText(progress, "lblResult"), c.result);
        EXPECT_FALSE(progress->control("btnCancel")->isVisible());
        EXPECT_TRUE(progress->control("btnClose")->isVisible());
        if (!c.lastLine.isEmpty()) {
            EXPECT_EQ(entries.last(), c.lastLine);
        }

        // Save Log... writes the log's exact text: entries joined by CR LF.
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("run.log"));
        progress->setSaveDialogRunner([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
            dialog.selectFile(file);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(progress->control("btnSaveLog"), Qt::LeftButton);
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(saved.readAll()), entries.join(QStringLiteral("\r\n")));
    }
}

}  // namespace
}  // namespace tessaron::gui::testing
