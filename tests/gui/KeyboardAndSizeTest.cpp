// The windows by keyboard and at any size: default buttons, Escape, the tab
// order against the reading order of the designed places, minimum and fixed
// sizes, and labels and check boxes at least their font's line height.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "GuiSupport.h"
#include "app/window/TabOrder.h"
#include "gui/FormGeometry.h"

namespace tessaron::gui::testing {
namespace {

const app::window::ControlDesign& controlDesign(const std::string& name) {
    return *app::window::findControlDesign(app::window::mainFormDesign(), name);
}

TEST(Keyboard, EnterAndEscapeOnEachWindow) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.view.get()));

    // Main window: Enter in a text box presses the install button.
    auto* title = w.widget("txtControlPanelTitle");
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Return);
    QPointer<InstallOptionsView> dialog = w.view->flow().dialog();
    ASSERT_FALSE(dialog.isNull());

    // Options dialog: Escape cancels it.
    QTest::keyClick(dialog, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(dialog.isNull());

    // Enter (on a check box) confirms with the boxes as they are.
    QTest::keyClick(title, Qt::Key_Enter);
    dialog = w.view->flow().dialog();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog->control("OKButton"))->isDefault());
    auto* tasks = dialog->control("chkCreateTasks");
    tasks->setFocus();
    QTest::keyClick(tasks, Qt::Key_Return);
    QPointer<ProgressView> progress = w.view->flow().progress();
    ASSERT_FALSE(progress.isNull());

    // Progress window: Escape does nothing while the run goes on ...
    QTest::keyClick(progress, Qt::Key_Escape);
    EXPECT_TRUE(progress->isVisible());
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));
    // ... and closes it when it has ended; so does Enter (Close is the default).
    EXPECT_TRUE(qobject_cast<QPushButton*>(progress->control("btnClose"))->isDefault());
    QTest::keyClick(progress, Qt::Key_Escape);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(w.ended, std::vector<int>{0});
}

TEST(Keyboard, ProgressWindowEnterClosesTheFinishedRun) {
    ViewOnMachine w(sample2003());
    w.view->show();
    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    QTest::mouseClick(w.view->flow().dialog()->control("OKButton"), Qt::LeftButton);
    QPointer<ProgressView> progress = w.view->flow().progress();
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));
    QTest::keyClick(progress, Qt::Key_Return);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(w.ended, std::vector<int>{0});
}

// Tab through each tab from its strip: the focus visits the tab's enabled
// controls in the reading order of their designed places, then the install
// button.
TEST(Keyboard, TabOrderFollowsTheReadingOrderOfEachTab) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.view.get()));
    auto* tabs = w.view->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        SCOPED_TRACE(tabs->tabText(tab).toStdString());
        tabs->setCurrentIndex(tab);
        std::vector<std::string> expected;
        for (const auto& name : app::window::readingOrder(app::window::mainFormDesign(), tab)) {
            QWidget* widget = w.widget(name);
            if (widget->isVisible() && widget->isEnabled()) expected.push_back(name);
        }
        expected.push_back("btnInstall");

        tabs->tabBar()->setFocus();
        std::vector<std::string> visited;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(QApplication::focusWidget()->objectName().toStdString());
        }
        EXPECT_EQ(visited, expected);

        // Down each column: a control is never above the one before it, unless
        // the next column starts; columns go left to right.
        for (std::size_t i = 1; i + 1 < visited.size(); ++i) {
            const auto& before = controlDesign(visited[i - 1]).place;
            const auto& now = controlDesign(visited[i]).place;
            const bool sameRow = now.top < before.top + before.height;
            const bool newColumn = now.left > before.left + before.width;
            EXPECT_TRUE(now.top >= before.top || sameRow || newColumn)
                << visited[i - 1] << " -> " << visited[i];
        }
    }
}

TEST(Keyboard, ColumnsOfTheGeneralAndSqlServerTabs) {
    // No zig-zag between the columns.
    const auto general = app::window::readingOrder(app::window::mainFormDesign(), 0);
    ASSERT_GE(general.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(general.begin(), general.begin() + 4),
              (std::vector<std::string>{"txtControlPanelTitle", "txtMainCompanyName",
                                        "txtMainContactEmail", "txtServerRoot"}));
    const auto sql = app::window::readingOrder(app::window::mainFormDesign(), 4);
    ASSERT_GE(sql.size(), 2u);
    EXPECT_EQ(sql[0], "chkMSSQLActive");
    EXPECT_EQ(sql[1], "txtSQLServerIP");
    // The MySQL column follows the whole SQL Server column.
    const auto mysql = std::find(sql.begin(), sql.end(), "chkMySQLActive");
    const auto lastSqlServer = std::find(sql.begin(), sql.end(), "btnSQLServerDataPath");
    EXPECT_LT(lastSqlServer, mysql);
}

TEST(Sizes, DesignedSizeIsTheMinimumTheOptionsDialogFixedAndTheProgressLogGrows) {
    ViewOnMachine w(sample2003());
    w.view->show();
    const double scale = screenScale(*w.view);
    const QSize designed(twipsToPixels(app::window::mainFormDesign().clientWidth, scale),
                         twipsToPixels(app::window::mainFormDesign().clientHeight, scale));
    EXPECT_EQ(w.view->minimumSize(), designed);
    w.view->resize(300, 150);
    EXPECT_EQ(w.view->size(), designed);
    EXPECT_TRUE(w.widget("btnInstall")->isVisible());
    EXPECT_TRUE(w.view->rect().contains(w.widget("btnInstall")->geometry()));

    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    auto* dialog = w.view->flow().dialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    auto* progress = w.view->flow().progress();
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));
    // The whole title fits beside the title bar's buttons.
    const QFontMetrics metrics(QApplication::font());
    for (QWidget* window : {static_cast<QWidget*>(dialog), static_cast<QWidget*>(progress)}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        EXPECT_GT(window->width(),
                  metrics.horizontalAdvance(window->windowTitle()) + 3 * metrics.height());
    }
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QSize fixed = dialog->size();
    dialog->resize(fixed * 2);
    EXPECT_EQ(dialog->size(), fixed);

    // The progress window grows (and maximises); its log takes the space,
    // and it never shrinks below its designed size.
    EXPECT_TRUE(progress->windowFlags() & Qt::WindowMaximizeButtonHint);
    QWidget* log = progress->control("txtProgress");
    const QSize before = progress->size();
    const QSize logBefore = log->size();
    progress->resize(before + QSize(300, 200));
    settle();
    EXPECT_EQ(progress->size(), before + QSize(300, 200));
    EXPECT_EQ(log->size(), logBefore + QSize(300, 200));
    EXPECT_TRUE(progress->control("btnClose")->isVisible());
    EXPECT_LE(progress->control("btnClose")->geometry().bottom(), progress->height());
    progress->resize(100, 100);
    settle();
    EXPECT_EQ(progress->size(), before);
    EXPECT_EQ(log->size(), logBefore);
}

// Alt and a caption's letter reach every captioned control; on each tab no
// letter is taken twice (the tab strip and the install button count on
// every tab), and every control the focus can reach has a name a screen
// reader announces: on the settings window, the options dialog and the
// progress window.
TEST(Keyboard, MnemonicsUniquePerTabAndEveryFocusableControlNamed) {
    ViewOnMachine w(sample2003());
    w.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.view.get()));
    auto* tabs = w.view->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const auto letter = [](const QString& text) { return QKeySequence::mnemonic(text); };
    QList<QKeySequence> everywhere;
    for (int tab = 0; tab < tabs->count(); ++tab) everywhere << letter(tabs->tabText(tab));
    everywhere << letter(qobject_cast<QPushButton*>(w.widget("btnInstall"))->text());
    for (int tab = 0; tab < tabs->count(); ++tab) {
        SCOPED_TRACE(tabs->tabText(tab).toStdString());
        QList<QKeySequence> taken = everywhere;
        for (QWidget* child : tabs->widget(tab)->findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(child); label && label->buddy()) {
                text = label->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
                text = button->text();
                // "..." and a password field's eye are named, not captioned.
                if (text == QStringLiteral("...") || child->objectName().isEmpty()) continue;
            } else {
                continue;
            }
            const QKeySequence keys = letter(text);
            EXPECT_FALSE(keys.isEmpty()) << child->objectName().toStdString();
            EXPECT_FALSE(taken.contains(keys)) << child->objectName().toStdString();
            taken << keys;
        }
    }
    // A label's letter puts the focus on its field; a tab's letter shows it.
    tabs->setCurrentIndex(0);
    QTest::keyClick(w.view.get(), Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), w.widget("txtCustomerPort"));
    QTest::keyClick(w.view.get(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    QTest::keyClick(w.view.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), w.widget("txtMainDatabasePassword"));

    QTest::mouseClick(w.widget("btnInstall"), Qt::LeftButton);
    auto* dialog = w.view->flow().dialog();
    QTest::mouseClick(dialog->control("OKButton"), Qt::LeftButton);
    auto* progress = w.view->flow().progress();
    ASSERT_TRUE(waitUntil([&] { return progress->state() == ProgressView::State::Finished; }));
    for (QWidget* window : {static_cast<QWidget*>(w.view.get()), static_cast<QWidget*>(dialog),
                            static_cast<QWidget*>(progress)}) {
        int focusable = 0;
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (child->focusPolicy() == Qt::NoFocus || child->window() != window ||
                child->focusProxy() || child->objectName().startsWith(QStringLiteral("qt_"))) {
                continue;
            }
            ++focusable;
            QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(child);
            ASSERT_NE(spoken, nullptr);
            EXPECT_FALSE(spoken->text(QAccessible::Name).trimmed().isEmpty())
                << window->windowTitle().toStdString() << ": " << child->metaObject()->className()
                << " " << child->objectName().toStdString();
        }
        EXPECT_GT(focusable, 2) << window->windowTitle().toStdString();
    }
}

// At 96 DPI and at 192 DPI: there the form's font is twice as many pixels
// high and the places are scaled by 2 (the offscreen platform has a fixed
// DPI, so the 192 DPI screen is made the way the form meets one).
TEST(Sizes, LabelsAndCheckBoxesAtLeastTheirFontsLineHeight) {
    for (const double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        ViewOnMachine w(sample2003());
        if (scale != 1.0) {
            QFont font = w.view->font();
            font.setPointSizeF(font.pointSizeF() * scale);
            w.view->setFont(font);
            // The window's own placer, at its screen's scale, gives way.
            for (QObject* child : w.view->children()) {
                if (dynamic_cast<FormPlacer*>(child)) delete child;
            }
            new FormPlacer(*w.view, app::window::mainFormDesign(), scale);
        }
        w.view->show();
        int checked = 0;
        for (const auto& control : app::window::mainFormDesign().controls) {
            QWidget* widget = w.widget(control.name);
            if (!widget) continue;
            const QRect designed = twipsToPixels(control.place, scale);
            if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
                EXPECT_GE(label->height(), label->fontMetrics().height()) << control.name;
                EXPECT_GE(label->height(), designed.height()) << control.name;
                ++checked;
            } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
                EXPECT_GE(check->height(), check->sizeHint().height()) << control.name;
                EXPECT_GE(check->height(), designed.height()) << control.name;
                ++checked;
            }
        }
        EXPECT_GT(checked, 50);
        // By name: the tail of the "y" and the box's caption.
        auto* accounts = w.as<QLabel>("Label5");
        EXPECT_GT(accounts->height(), twipsToPixels(135, scale));
        EXPECT_GE(accounts->height(), accounts->fontMetrics().height());
        auto* preview = w.as<QCheckBox>("chkWebsitePreview");
        EXPECT_GE(preview->height(), preview->sizeHint().height());
    }
}

}  // namespace
}  // namespace tessaron::gui::testing
