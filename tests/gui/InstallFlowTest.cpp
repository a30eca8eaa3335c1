// The install button's flow by clicks: options dialog, progress window, and
// what closing the progress window does after each kind of run.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "GuiSupport.h"
#include "gui/WindowPlacement.h"

namespace tessaron::gui::testing {
namespace {

const char* const kBoxes[] = {"chkCreateTasks", "chkInitDB", "chkSetupIIS"};
const QString kFirst = QStringLiteral("Beginning Tessaron configuration...");
const QString kLast = QStringLiteral("Tessaron configuration completed.");

InstallOptionsView* pressInstall(ViewOnMachine& w) {
    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    return w.view->flow().dialog();
}

QCheckBox* box(InstallOptionsView* dialog, const char* name) {
    return qobject_cast<QCheckBox*>(dialog->control(name));
}

QPlainTextEdit* logOf(ProgressView* progress) {
    return qobject_cast<QPlainTextEdit*>(progress->control("txtProgress"));
}

// What the window showed while the run was logging.
struct Watch {
    QStringList entries;
    QStringList shownAtEntry;  // txtProgress when each entry was reported
    bool visibleThroughout = true;
    bool closeRefusedWhileRunning = false;
};

void watch(ProgressView* progress, Watch& seen) {
    QObject::connect(progress, &ProgressView::entryLogged, progress,
                     [progress, &seen](const QString& entry) {
                         seen.entries << entry;
                         seen.shownAtEntry << logOf(progress)->toPlainText();
                         seen.visibleThroughout &= progress->isVisible();
                         if (seen.entries.size() == 1) {
                             progress->close();  // the close box during the run
                             seen.closeRefusedWhileRunning = progress->isVisible();
                         }
                     });
}

TEST(InstallFlow, OptionsDialogBoxesAreUntickedAgainAfterCancel) {
    ViewOnMachine w(sample2003());
    w.view->show();
    auto* dialog = pressInstall(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Install/Update Tessaron Configuration"));
    EXPECT_EQ(w.settings.CustomerPort, "2100");  // the install button filled the record
    for (const char* name : kBoxes) {
        EXPECT_EQ(box(dialog, name)->checkState(), Qt::Unchecked) << name;
        clickCheckBox(box(dialog, name));
        EXPECT_EQ(box(dialog, name)->checkState(), Qt::Checked) << name;
    }

    QPointer<InstallOptionsView> first = dialog;
    QTest::mouseClick(dialog->control("CancelButton"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(first.isNull());  // unloaded
    EXPECT_EQ(w.view->flow().dialog(), nullptr);
    EXPECT_FALSE(w.view->flow().options().CreateTasks);  // Cancel stores nothing

    dialog = pressInstall(w);
    ASSERT_NE(dialog, nullptr);
    for (const char* name : kBoxes)
        EXPECT_EQ(box(dialog, name)->checkState(), Qt::Unchecked) << name;
    EXPECT_TRUE(w.ended.empty());
}

TEST(InstallFlow, RunErrorReturnsToTheDialogAndOkRunsAgainWithAnEmptyLog) {
    auto machine = sample2003();
    machine.setReadOnly("C:\\Tessaron\\panel", true);  // config.inc cannot be written
    ViewOnMachine w(std::move(machine));
    ASSERT_EQ(w.loaded, app::window::LoadResult::Shown);
    w.view->show();
    auto* dialog = pressInstall(w);
    ASSERT_NE(dialog, nullptr);
    clickCheckBox(box(dialog, "chkCreateTasks"));
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    EXPECT_TRUE(w.view->flow().options().CreateTasks);

    // The window is on screen before the run starts, and its close box does nothing yet.
    QPointer<ProgressView> progress = w.view->flow().progress();
    ASSERT_FALSE(progress.isNull());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(progress->state(), ProgressView::State::Waiting);
    EXPECT_EQ(logOf(progress)->toPlainText(), QString());
    progress->close();
    EXPECT_TRUE(progress->isVisible());

    Watch seen;
    watch(progress, seen);
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));

    ASSERT_FALSE(seen.entries.isEmpty());
    EXPECT_EQ(seen.entries.front(), kFirst);
    EXPECT_EQ(seen.entries.back(), kLast);
    EXPECT_TRUE(seen.entries.contains(
        QStringLiteral("Could not open configuration file for overwriting.")));
    EXPECT_FALSE(seen.entries.contains(QStringLiteral("Creating task for bandwidth update...")));
    for (int i = 0; i < seen.entries.size(); ++i) {
        EXPECT_TRUE(seen.shownAtEntry[i].endsWith(seen.entries[i])) << i;  // shown as logged
    }
    EXPECT_TRUE(seen.visibleThroughout);
    EXPECT_TRUE(seen.closeRefusedWhileRunning);
    EXPECT_EQ(logOf(progress)->toPlainText(), seen.entries.join(QLatin1Char('\n')));
    EXPECT_TRUE(progress->outcome().runError);

    // The unprefixed failure lines stand out and are counted; the result
    // names the stage the failure kept from running.
    EXPECT_EQ(qobject_cast<QLabel*>(progress->control("lblResult"))->text(),
              QStringLiteral("Completed with errors: 2 failure lines. Not run because the "
                             "configuration file could not be written: scheduled tasks."));
    const QTextBlock failed =
        logOf(progress)->document()->findBlockByNumber(static_cast<int>(seen.entries.indexOf(
            QStringLiteral("Could not open configuration file for overwriting."))));
    ASSERT_FALSE(failed.layout()->formats().isEmpty());
    EXPECT_EQ(failed.layout()->formats().front().format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(qobject_cast<QLabel*>(progress->control("lblStep"))
                    ->text()
                    .startsWith(QStringLiteral("Finished: step ")));

    // Closing it brings the dialog back, boxes as they were ticked, saying
    // which part failed and offering the log again.
    QAction* openLog = dialog->findChild<QAction*>(QStringLiteral("actOpenLastLog"));
    ASSERT_NE(openLog, nullptr);
    EXPECT_FALSE(openLog->isEnabled());
    progress->close();
    settle();
    EXPECT_TRUE(progress.isNull());
    EXPECT_TRUE(w.ended.empty());
    ASSERT_EQ(w.view->flow().dialog(), dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(box(dialog, "chkCreateTasks")->checkState(), Qt::Checked);
    EXPECT_TRUE(dialog->reason().startsWith(QStringLiteral(
        "The last run did not complete: the configuration file could not be written. ")))
        << dialog->reason().toStdString();
    ASSERT_TRUE(openLog->isEnabled());
    openLog->trigger();
    ReportWindow* lastLog = w.view->flow().tools()->lastLogWindow();
    ASSERT_NE(lastLog, nullptr);
    EXPECT_TRUE(lastLog->isVisible());
    EXPECT_EQ(lastLog->text(), seen.entries.join(QLatin1Char('\n')));

    // A second OK: a fresh window, a fresh log, a fresh run.
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    QPointer<ProgressView> second = w.view->flow().progress();
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(logOf(second)->toPlainText(), QString());
    ASSERT_TRUE(waitUntil([&] { return second->state() == ProgressView::State::Finished; }));
    const QString text = logOf(second)->toPlainText();
    EXPECT_TRUE(text.startsWith(kFirst + QLatin1Char('\n')));
    EXPECT_TRUE(text.endsWith(kLast));
    EXPECT_EQ(text.count(kFirst), 1);
    second->close();
    settle();
    EXPECT_TRUE(w.ended.empty());
    EXPECT_TRUE(dialog->isVisible());
}

struct EndingCase {
    const char* what;
    const char* serverRoot;  // typed into txtServerRoot; nullptr: as discovered
    QString lastEntry;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
    *os << c.what;
}

class RunEndsProgram : public ::testing::TestWithParam<EndingCase> {};

TEST_P(RunEndsProgram, ClosingTheProgressWindowEndsTheProgramWithoutUnloadSteps) {
    placementStore()->clear();
    ViewOnMachine w(sample2003());
    w.view->show();
    if (GetParam().serverRoot) {
        auto* root = w.as<QLineEdit>("txtServerRoot");
        root->selectAll();
        QTest::keyClicks(root, GetParam().serverRoot);
    }
    auto* dialog = pressInstall(w);
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    QPointer<ProgressView> progress = w.view->flow().progress();
    ASSERT_FALSE(progress.isNull());
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));
    EXPECT_FALSE(progress->outcome().runError);
    EXPECT_EQ(logOf(progress)->toPlainText().split(QLatin1Char('\n')).last(), GetParam().lastEntry);
    EXPECT_TRUE(w.ended.empty());

    progress->close();
    EXPECT_EQ(w.ended, std::vector<int>{0});
    // The program ends at once: the settings window saves no placement.
    EXPECT_FALSE(placementStore()->contains(QStringLiteral("Settings/MainLeft")));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, RunEndsProgram,
    ::testing::Values(EndingCase{"completed", nullptr, kLast},
                      EndingCase{"stopped_by_a_check", "C:\\Hosting\\Accounts",
                                 QStringLiteral("ERROR: Could not create accounts directory at "
                                                "C:\\Hosting\\Accounts - Path not found")}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace tessaron::gui::testing
