#pragma once

#include <QCheckBox>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "gui/SettingsView.h"
#include "support/app/AppMachine.h"

class QWidget;

// Readable values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QPoint& point, std::ostream* os) {
    *os << "(" << point.x() << ", " << point.y() << ")";
}
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
inline void PrintTo(const QSize& size, std::ostream* os) {
    *os << size.width() << "x" << size.height();
}

namespace tessaron::gui::testing {

// The one QApplication of the test program (offscreen unless told
// otherwise), with the per-user settings store moved to a temporary folder.
void ensureApplication();

// A settings window on a machine image: the model, its view (not shown),
// the recorded message boxes and every request to end the program.
struct ViewOnMachine {
    explicit ViewOnMachine(tessaron::testing::TestMachine machine, bool load = true,
                           Database* database = nullptr);
    ~ViewOnMachine();

    QWidget* widget(const std::string& control) const { return view->control(control); }
    template <typename W>
    W* as(const std::string& control) const {
        return qobject_cast<W*>(view->control(control));
    }

    tessaron::testing::TestMachine machine;
    MachineImage image;
    SettingsRecord settings;
    app::testing::RecordingMessages messages;
    app::window::SettingsWindow window;
    std::unique_ptr<SettingsView> view;
    app::window::LoadResult loaded = app::window::LoadResult::Shown;
    std::vector<int> ended;  // statuses handed to the program's end
};

// A copy of examples/machines/windows2003.
tessaron::testing::TestMachine sample2003();

// A click where the user clicks a check box: on its box.
void clickCheckBox(QCheckBox* box);
// Shows the tab of SSTab1 that holds the widget.
void showTabOf(QWidget* widget);
// Runs deferred deletions and pending events.
void settle();
// Processes events until done() holds; false when the time ran out first.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 60000);

QString q(const std::string& text);

}  // namespace tessaron::gui::testing
