#include "gui/SettingsView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/window/TabOrder.h"
#include "gui/FormGeometry.h"
#include "gui/WindowPlacement.h"

namespace tessaron::gui {

SettingsView::SettingsView(app::window::SettingsWindow& window, QWidget* parent)
    : QWidget(parent),
      window_(window),
      endProgram_([](int status) { QCoreApplication::exit(status); }) {
    // The font before the widgets, so that it is not handed down to each of
    // them again; the tooltips once they exist.
    useFormFont(*this);
    ui_.setupUi(this);
    useWrappingToolTips(*this);
    new FormPlacer(*this, app::window::mainFormDesign(), screenScale(*this));
    setMinimumSize(size());  // the designed size
    binding_ = std::make_unique<ControlBinding>(window_.controls(), *this);
    useReadingTabOrder();
    if (auto* install = qobject_cast<QPushButton*>(control("btnInstall")))
        install->setDefault(true);
    flow_ = new InstallFlow(window_, *this);
    window_.setFocusRequest([this](const std::string& name) { focusControl(name); });
    connect(flow_, &InstallFlow::endProgram, this, [this] { endProgram_(0); });
}

SettingsView::~SettingsView() {
    window_.setFocusRequest(nullptr);
}

void SettingsView::focusControl(const std::string& name) {
    QWidget* target = control(name);
    if (!target) return;
    auto* tabs = findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    for (int tab = 0; tabs && tab < tabs->count(); ++tab) {
        if (tabs->widget(tab)->isAncestorOf(target)) tabs->setCurrentIndex(tab);
    }
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
}

void SettingsView::unload() {
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != this && other->isVisible()) other->hide();
    }
    savePlacement(*this, *placementStore());
    endProgram_(0);
}

void SettingsView::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

}  // namespace tessaron::gui

namespace tessaron::gui {

// The tab strip, then each tab's controls in reading order, then the
// install button.
void SettingsView::useReadingTabOrder() {
    const app::window::FormDesign& form = app::window::mainFormDesign();
    QWidget* previous = findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    for (int tab = 0; tab < static_cast<int>(form.tabCaptions.size()); ++tab) {
        for (const auto& name : app::window::readingOrder(form, tab)) {
            QWidget* next = control(name);
            if (!next) continue;
            if (previous) setTabOrder(previous, next);
            previous = next;
        }
    }
    if (QWidget* install = control("btnInstall"); install && previous) {
        setTabOrder(previous, install);
    }
}

// Enter presses the install button wherever the focus is (a focused button
// takes Space), as the default button of a dialog does.
void SettingsView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* install = qobject_cast<QPushButton*>(control("btnInstall"));
            install && install->isEnabled()) {
            install->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tessaron::gui
