// The install-options dialog's actions before and after a run, by the
// dialog's own actions on the 2003 sample.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "GuiSupport.h"
#include "app/tools/RunToolsCatalogue.h"
#include "gui/DialogMessages.h"
#include "gui/RunTools.h"
#include "support/ImageDigest.h"

namespace tessaron::gui::testing {
namespace {

namespace fs = std::filesystem;
using tessaron::testing::imageDigest;

struct Told {
    QStringList titles, texts;
};

// The dialog after the install button, its actions' hooks recorded.
struct DialogTools {
    explicit DialogTools(ViewOnMachine& w) {
        QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
        dialog = w.view->flow().dialog();
        tools = dialog->findChild<RunTools*>();
        tools->tell = [this](const QString& title, const QString& text) {
            told.titles << title;
            told.texts << text;
        };
        tools->ask = [this](const app::window::Message& question) {
            asked << q(question.text);
            return answer;
        };
    }
    // By its caption as shown (without the mnemonic's mark).
    QAction* action(const QString& text) const {
        for (QAction* action : dialog->actions()) {
            if (QString(action->text()).remove(QLatin1Char('&')) == text) return action;
        }
        return nullptr;
    }

    InstallOptionsView* dialog = nullptr;
    RunTools* tools = nullptr;
    Told told;
    QStringList asked;
    bool answer = false;
};

// The Preview button beside OK, the preview window's buttons and its way on
// to the run with the options previewed.
TEST(RunTools, PreviewShowsTheTickedRunAndLeavesTheMachineAsItWas) {
    ensureApplication();
    ViewOnMachine w(sample2003());
    w.window.controls().setText("txtAdminPassword", "gui-secret");
    DialogTools d(w);
    d.dialog->controls().setChecked("chkCreateTasks", 1);
    const std::string before = imageDigest(w.machine.root());

    auto* button = d.dialog->findChild<QPushButton*>(QStringLiteral("btnPreview"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("&Preview..."));
    d.dialog->show();
    EXPECT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);

    ReportWindow* preview = d.tools->previewWindow();
    ASSERT_NE(preview, nullptr);
    auto* view = preview->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"));
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    for (const char* name : {"btnSavePreview", "btnRunNow", "btnClosePreview"}) {
        EXPECT_NE(preview->findChild<QPushButton*>(QString::fromLatin1(name)), nullptr) << name;
    }
    const QString text = view->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Preview of the installation run on ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Options: tasks\n")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("config.inc (C:\\Tessaron\\panel\\config.inc): new file\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("/sc \"Administrator\" \"********\" /ctj")));
    EXPECT_FALSE(text.contains(QStringLiteral("gui-secret")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("If you run it now: Completed.\n")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("exit status")));
    EXPECT_EQ(imageDigest(w.machine.root()), before);
    EXPECT_TRUE(d.told.texts.isEmpty());

    // Run Now: the options previewed, even when the boxes changed since.
    d.dialog->controls().setChecked("chkCreateTasks", 0);
    d.dialog->controls().setChecked("chkSetupIIS", 1);
    QTest::mouseClick(preview->findChild<QPushButton*>(QStringLiteral("btnRunNow")),
                      Qt::LeftButton);
    EXPECT_FALSE(preview->isVisible());
    ProgressView* progress = w.view->flow().progress();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));
    EXPECT_TRUE(progress->outcome().options.CreateTasks);
    EXPECT_FALSE(progress->outcome().options.SetUpSites);
    EXPECT_NE(imageDigest(w.machine.root()), before);
}

// Yes to either question writes secrets or replaces files: Enter answers No.
TEST(RunTools, QuestionsWhoseYesExposesOrDestroysDefaultToNo) {
    ensureApplication();
    for (const app::window::Message& question :
         {app::tools::messages::writePasswordsInClear(), app::tools::messages::restoreLastRun()}) {
        const auto box = messageBox(question, nullptr);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No)) << question.text;
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Return);
        EXPECT_EQ(box->result(), QMessageBox::No) << question.text;
    }
}

TEST(RunTools, SaveAnswersWritesTheEditedValues) {
    ensureApplication();
    ViewOnMachine w(sample2003());
    w.window.controls().setText("txtControlPanelTitle", "From The Window");
    w.window.controls().setText("txtAdminPassword", "gui-secret");
    DialogTools d(w);
    const QString path = QString::fromStdString((w.machine.root() / "saved.answers").string());
    d.tools->chooseAnswersFile = [&] { return path; };

    d.action(QStringLiteral("Save Answers..."))->trigger();
    ASSERT_EQ(d.told.texts, QStringList{QStringLiteral("Answers saved to %1.").arg(path)});
    const std::string saved = tessaron::testing::readBytes(path.toStdString());
    EXPECT_NE(saved.find("\ntxtControlPanelTitle = From The Window\n"
                         "txtAdminPassword = @env:TESSARON_ADMIN_PASSWORD\n"),
              std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("gui-secret"), std::string::npos);

    EXPECT_EQ(d.asked.size(), 1);
    EXPECT_TRUE(d.asked.front().startsWith(QStringLiteral("Write the passwords in clear text?")));

    // Without an extension the file gets the filter's.
    const QString bare = QString::fromStdString((w.machine.root() / "saved1").string());
    d.tools->chooseAnswersFile = [&] { return bare; };
    d.action(QStringLiteral("Save Answers..."))->trigger();
    EXPECT_TRUE(fs::exists(w.machine.root() / "saved1.answers"));
    EXPECT_FALSE(fs::exists(w.machine.root() / "saved1"));
    EXPECT_EQ(d.told.texts.size(), 2);

    d.tools->chooseAnswersFile = [] { return QString(); };  // cancelled: nothing happens
    d.action(QStringLiteral("Save Answers..."))->trigger();
    EXPECT_EQ(d.told.texts.size(), 2);
}

TEST(RunTools, RestoreAfterARunPutsTheFilesBackAndEndsTheProgram) {
    ensureApplication();
    ViewOnMachine w(sample2003());
    const std::string metabase = w.machine.readFile("C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml");
    DialogTools d(w);

    d.answer = true;
    d.action(QStringLiteral("Restore Last Run..."))->trigger();
    EXPECT_EQ(d.told.texts,
              QStringList{QStringLiteral("Nothing to restore: no run journal at "
                                         "C:\\Tessaron\\panel\\tessaron-run.journal.")});
    EXPECT_TRUE(w.ended.empty());

    d.dialog->controls().setChecked("chkSetupIIS", 1);
    d.dialog->controls().press("OKButton");
    ASSERT_TRUE(waitUntil([&] {
        return w.view->flow().progress() &&
               w.view->flow().progress()->state() == ProgressView::State::Finished;
    }));
    ASSERT_NE(w.machine.readFile("C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml"), metabase);

    d.answer = false;  // asked, answered No: nothing happens
    d.action(QStringLiteral("Restore Last Run..."))->trigger();
    EXPECT_EQ(d.told.texts.size(), 1);

    d.answer = true;
    d.action(QStringLiteral("Restore Last Run..."))->trigger();
    ASSERT_EQ(d.told.texts.size(), 2);
    EXPECT_TRUE(d.told.texts[1].endsWith(
        QStringLiteral("changes of registry.reg and the lines of commands.log.\n\n"
                       "The program ends now; start it again to work with the restored files.")));
    EXPECT_EQ(w.machine.readFile("C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml"), metabase);
    EXPECT_FALSE(fs::exists(w.machine.host("C:\\Tessaron\\panel\\config.inc")));
    EXPECT_EQ(w.ended, std::vector<int>{0});
}

// Restore, Preview and Save Answers hold the machine as a run does: while
// another run holds it, or when its lock file cannot be opened, each says
// so and nothing is written.
TEST(RunTools, ToolsChangeNothingWhileTheMachineCannotBeHeld) {
    ensureApplication();
    ViewOnMachine w(sample2003());
    DialogTools d(w);
    d.dialog->controls().setChecked("chkSetupIIS", 1);
    d.dialog->controls().press("OKButton");
    ASSERT_TRUE(waitUntil([&] {
        return w.view->flow().progress() &&
               w.view->flow().progress()->state() == ProgressView::State::Finished;
    }));
    const QString answers = QString::fromStdString((w.machine.root() / "saved.answers").string());
    d.tools->chooseAnswersFile = [&] { return answers; };
    d.answer = true;
    const std::string before = imageDigest(w.machine.root());
    {
        MachineImage other(w.machine.root());
        const auto held = other.LockMachine(std::chrono::milliseconds(0));
        ASSERT_TRUE(held);
        d.action(QStringLiteral("Restore Last Run..."))->trigger();
        EXPECT_EQ(d.told.texts, QStringList{QStringLiteral(
                                    "another configuration run holds the machine; nothing was "
                                    "done")});
        EXPECT_EQ(imageDigest(w.machine.root()), before);
    }

    const fs::path lockFile = w.machine.root() / ".tessaron-run.lock";
    fs::remove(lockFile);
    fs::create_directory(lockFile);
    const QString cannotLock =
        QStringLiteral(
            "cannot lock the machine: The lock file %1 could not be opened (Is a "
            "directory).")
            .arg(QString::fromStdString(lockFile.string()));
    const std::string withFolder = imageDigest(w.machine.root());
    d.told.texts.clear();
    d.action(QStringLiteral("Restore Last Run..."))->trigger();
    d.dialog->show();
    QTest::mouseClick(d.dialog->findChild<QPushButton*>(QStringLiteral("btnPreview")),
                      Qt::LeftButton);
    d.action(QStringLiteral("Save Answers..."))->trigger();
    EXPECT_EQ(
        d.told.texts,
        (QStringList{cannotLock, QStringLiteral("The preview could not be made: ") + cannotLock,
                     cannotLock}));
    EXPECT_EQ(d.tools->previewWindow(), nullptr);
    EXPECT_FALSE(fs::exists(answers.toStdString()));
    EXPECT_EQ(imageDigest(w.machine.root()), withFolder);
    EXPECT_TRUE(w.ended.empty());
}

}  // namespace
}  // namespace tessaron::gui::testing
