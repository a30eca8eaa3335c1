// The load step's message boxes as the window shows them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "GuiSupport.h"
#include "gui/AccessibleForm.h"
#include "gui/DialogMessages.h"

namespace tessaron::gui::testing {
namespace {

using app::window::Message;

namespace messages = app::window::messages;

struct BoxCase {
    Message message;
    QString title;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QString textStart;
};

TEST(MessageBoxes, TitlesTextsIconsAndButtons) {
    ensureApplication();
    const auto ok = QMessageBox::StandardButtons(QMessageBox::Ok);
    const auto yesNo = QMessageBox::Yes | QMessageBox::No;
    const std::vector<BoxCase> cases = {
        {messages::installDirectoryNotFound(), QStringLiteral("Installation Directory Not Found!"),
         QMessageBox::Critical, ok,
         QStringLiteral("Sorry, I cannot find your Tessaron installation directory.  Please "
                        "reinstall Tessaron.")},
        {messages::componentNotAccessible(), QStringLiteral("Tessaron DLL Not Accessable!"),
         QMessageBox::Critical, ok,
         QStringLiteral("Sorry, I cannot access the Tessaron DLL.  Please reinstall Tessaron.")},
        {messages::criticalError(), QStringLiteral("Critical Error 1"), QMessageBox::Critical, ok,
         QStringLiteral("Sorry, I encountered problems getting the necessary information")},
        {messages::cannotReadPanelDirectory(), QStringLiteral("Cannot Read Tessaron Directory"),
         QMessageBox::Critical, ok,
         QStringLiteral("Sorry, there was a problem reading from the Tessaron directory.")},
        {messages::microsoftFtpUnavailable(), QStringLiteral("TessaronConfig"), QMessageBox::NoIcon,
         ok, QStringLiteral("Sorry, I could not retrieve the information for Microsoft FTP;")},
        {messages::cannotReadIisConfiguration(), QStringLiteral("Cannot Read IIS Configuration"),
         QMessageBox::Critical, ok,
         QStringLiteral("Sorry, I could not read the information from this server's IIS")},
        {messages::alreadyConfigured(), QStringLiteral("Tessaron Already Configured"),
         QMessageBox::NoIcon, yesNo,
         QStringLiteral("Tessaron has already been configured on this server.  It is highly")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.id);
        const auto box = messageBox(c.message, nullptr);
        EXPECT_EQ(box->windowTitle(), c.title);
        EXPECT_EQ(box->text(), q(c.message.text));
        EXPECT_TRUE(box->text().startsWith(c.textStart));
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->standardButtons(), c.buttons);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
    }
}

// Answers the next modal message box with the given button, recording it.
struct BoxAnswer {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int seen = 0;
};

void answerNextBox(BoxAnswer& answer, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&answer, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        ++answer.seen;
        answer.title = box->windowTitle();
        answer.text = box->text();
        answer.icon = box->icon();
        box->button(button)->click();
    });
}

TEST(MessageBoxes, LoadWithoutFtpServiceShowsMessageFiveWithTheApplicationsTitle) {
    tessaron::testing::MachineSetup machineFacts;
    machineFacts.ftpService = false;
    auto machine = tessaron::testing::TestMachine::described(machineFacts);
    ensureApplication();
    MachineImage image(machine.root());
    SettingsRecord settings;
    DialogMessages dialogs;
    app::window::SettingsWindow window(image, settings, dialogs);
    SettingsView view(window);
    view.setEndProgram([](int) {});

    BoxAnswer answer;
    answerNextBox(answer, QMessageBox::Ok);
    EXPECT_EQ(window.Load(), app::window::LoadResult::Shown);

    EXPECT_EQ(answer.seen, 1);
    EXPECT_EQ(answer.title, QStringLiteral("TessaronConfig"));
    EXPECT_EQ(
        answer.text,
        QStringLiteral("Sorry, I could not retrieve the information for Microsoft FTP; it may "
                       "not be installed, or you may not be running with the proper "
                       "privileges.  Microsoft FTP will not be available for selection."));
    EXPECT_EQ(answer.icon, QMessageBox::NoIcon);
    auto* type = qobject_cast<QComboBox*>(view.control("cmbFTPServerType"));
    EXPECT_EQ(type->itemText(0), QStringLiteral("BulletProof FTP"));
    EXPECT_FALSE(view.control("txtFTPServerPath")->isHidden());
}

TEST(MessageBoxes, ExistingConfigurationQuestionAnsweredByTheButtons) {
    struct Case {
        QMessageBox::StandardButton button;
        app::window::LoadResult result;
        QString installCaption;
    };
    for (const Case& c : {Case{QMessageBox::No, app::window::LoadResult::Ended,
                               QStringLiteral("Configure Tessaron")},
                          Case{QMessageBox::Yes, app::window::LoadResult::Shown,
                               QStringLiteral("Update Tessaron Configuration")}}) {
        tessaron::testing::MachineSetup machineFacts;
        machineFacts.configInc = "<%\r\nControlPanelTitle = \"Hosting Panel\"\r\n%>\r\n";
        auto machine = tessaron::testing::TestMachine::described(machineFacts);
        ensureApplication();
        MachineImage image(machine.root());
        SettingsRecord settings;
        DialogMessages dialogs;
        app::window::SettingsWindow window(image, settings, dialogs);
        SettingsView view(window);
        view.setEndProgram([](int) {});

        BoxAnswer answer;
        answerNextBox(answer, c.button);
        EXPECT_EQ(window.Load(), c.result);
        EXPECT_EQ(answer.seen, 1);
        EXPECT_EQ(answer.title, QStringLiteral("Tessaron Already Configured"));
        // Alt+C presses it under either caption.
        EXPECT_EQ(qobject_cast<QPushButton*>(view.control("btnInstall"))->text(),
                  shownCaption(
                      *app::window::findControlDesign(app::window::mainFormDesign(), "btnInstall"),
                      c.installCaption.toStdString()));
    }
}

}  // namespace
}  // namespace tessaron::gui::testing
