// Closing the settings window: placement in twips under "Settings", nothing
// when minimised, and the program ends either way.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "GuiSupport.h"
#include "gui/FormGeometry.h"
#include "gui/WindowPlacement.h"

namespace tessaron::gui::testing {
namespace {

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    }

    // The keys of the section as stored, read back by a fresh store.
    static std::map<QString, QString> stored() {
        std::map<QString, QString> values;
        const auto store = placementStore();
        store->beginGroup(QStringLiteral("Settings"));
        for (const QString& key : store->childKeys()) values[key] = store->value(key).toString();
        return values;
    }

private:
    QTemporaryDir folder_;
};

TEST_F(Placement, ClosingSavesLeftTopWidthHeightInTwipsAndEndsTheProgram) {
    ViewOnMachine w(sample2003());
    w.view->show();
    w.view->setGeometry(120, 80, 600, 300);
    const QRect frame = w.view->frameGeometry();
    const double scale = screenScale(*w.view);

    EXPECT_TRUE(w.view->close());

    EXPECT_EQ(w.ended, std::vector<int>{0});
    const std::map<QString, QString> expected = {
        {QStringLiteral("MainLeft"), QString::number(pixelsToTwips(frame.x(), scale))},
        {QStringLiteral("MainTop"), QString::number(pixelsToTwips(frame.y(), scale))},
        {QStringLiteral("MainWidth"), QString::number(pixelsToTwips(frame.width(), scale))},
        {QStringLiteral("MainHeight"), QString::number(pixelsToTwips(frame.height(), scale))},
    };
    EXPECT_EQ(stored(), expected);
    // At 96 DPI: 15 twips to a pixel.
    ASSERT_EQ(scale, 1.0);
    // The outer frame, not the client area.
    EXPECT_TRUE(frame.contains(QRect(120, 80, 600, 300)));
    EXPECT_EQ(stored()[QStringLiteral("MainLeft")], QString::number(frame.x() * 15));
    EXPECT_EQ(stored()[QStringLiteral("MainTop")], QString::number(frame.y() * 15));
    EXPECT_EQ(stored()[QStringLiteral("MainWidth")], QString::number(frame.width() * 15));
    EXPECT_EQ(stored()[QStringLiteral("MainHeight")], QString::number(frame.height() * 15));
    // Stored under the application "TessaronConfig".
    EXPECT_TRUE(placementStore()->fileName().contains(QStringLiteral("TessaronConfig")));
}

TEST_F(Placement, AMinimisedWindowKeepsThePreviousPlacement) {
    {
        const auto store = placementStore();
        store->setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("111"));
        store->setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("222"));
        store->setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("333"));
        store->setValue(QStringLiteral("Settings/MainHeight"), QStringLiteral("444"));
    }
    ViewOnMachine w(sample2003());
    w.view->show();
    w.view->showMinimized();
    ASSERT_TRUE(w.view->isMinimized());

    w.view->close();

    EXPECT_EQ(w.ended, std::vector<int>{0});
    const std::map<QString, QString> previous = {
        {QStringLiteral("MainLeft"), QStringLiteral("111")},
        {QStringLiteral("MainTop"), QStringLiteral("222")},
        {QStringLiteral("MainWidth"), QStringLiteral("333")},
        {QStringLiteral("MainHeight"), QStringLiteral("444")},
    };
    EXPECT_EQ(stored(), previous);
}

TEST_F(Placement, ClosingTheSettingsWindowClosesTheOtherWindows) {
    ViewOnMachine w(sample2003());
    w.view->show();
    w.window.controls().press("btnInstall");
    auto* dialog = w.view->flow().dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());

    w.view->close();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(w.ended, std::vector<int>{0});
    EXPECT_EQ(stored().size(), 4u);
}

}  // namespace
}  // namespace tessaron::gui::testing
