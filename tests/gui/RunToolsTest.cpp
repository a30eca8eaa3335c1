// The install-options dialog's actions before and after a run, by the
// dialog's own actions on the 2003 sample.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "GuiSupport.h"
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
        tools->ask = [this](const QString&, const QString&) { return answer; };
    }
    QAction* action(const QString& text) const {
        for (QAction* action : dialog->actions()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    }

    InstallOptionsView* dialog = nullptr;
    RunTools* tools = nullptr;
    Told told;
    bool answer = false;
};

TEST(RunTools, PreviewShowsTheTickedRunAndLeavesTheMachineAsItWas) {
    ensureApplication();
    ViewOnMachine w(sample2003());
    w.window.controls().setText("txtAdminPassword", "gui-secret");
    DialogTools d(w);
    d.dialog->controls().setChecked("chkCreateTasks", 1);
    const std::string before = imageDigest(w.machine.root());

    ASSERT_NE(d.action(QStringLiteral("Preview...")), nullptr);
    d.action(QStringLiteral("Preview..."))->trigger();

    ASSERT_NE(d.tools->previewWindow(), nullptr);
    const QString text = d.tools->previewWindow()
                             ->findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))
                             ->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Preview of the installation run on ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Options: tasks\n")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("config.inc (C:\\Tessaron\\panel\\config.inc): new file\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("/sc \"Administrator\" \"********\" /ctj")));
    EXPECT_FALSE(text.contains(QStringLiteral("gui-secret")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Result: completed (exit status 0).\n")));
    EXPECT_EQ(imageDigest(w.machine.root()), before);
    EXPECT_TRUE(d.told.texts.isEmpty());
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

    d.tools->chooseAnswersFile = [] { return QString(); };  // cancelled: nothing happens
    d.action(QStringLiteral("Save Answers..."))->trigger();
    EXPECT_EQ(d.told.texts.size(), 1);
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

}  // namespace
}  // namespace tessaron::gui::testing
