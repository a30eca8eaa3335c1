#include "GuiSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

namespace tessaron::gui::testing {

void ensureApplication() {
    // Never destroyed: a QApplication torn down among the program's static
    // objects at exit crashes.
    static QApplication* application = nullptr;
    static QTemporaryDir settingsFolder;
    if (application) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
}

ViewOnMachine::ViewOnMachine(tessaron::testing::TestMachine m, bool load, Database* database)
    : machine(std::move(m)), image(machine.root(), database), window(image, settings, messages) {
    ensureApplication();
    view = std::make_unique<SettingsView>(window);
    view->setEndProgram([this](int status) { ended.push_back(status); });
    // Each run opens the image afresh on its own thread, as the program does.
    view->flow().setMachineOpener([root = machine.root(), database]() -> std::unique_ptr<Platform> {
        return std::make_unique<MachineImage>(root, database);
    });
    view->flow().setMachineName(machine.root().string());
    if (load) loaded = window.Load();
}

ViewOnMachine::~ViewOnMachine() {
    view.reset();
    settle();
}

tessaron::testing::TestMachine sample2003() {
    return tessaron::testing::TestMachine::sample("windows2003");
}

void clickCheckBox(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

void showTabOf(QWidget* widget) {
    for (QWidget* page = widget->parentWidget(); page; page = page->parentWidget()) {
        auto* tabs = qobject_cast<QTabWidget*>(
            page->parentWidget() ? page->parentWidget()->parentWidget() : nullptr);
        if (tabs && tabs->indexOf(page) >= 0) {
            tabs->setCurrentWidget(page);
            return;
        }
    }
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QTest::qWait(10);
    }
    return true;
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace tessaron::gui::testing
