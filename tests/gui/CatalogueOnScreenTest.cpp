// Every control of the three forms on screen as the catalogue designs it:
// name, kind, tab, caption or initial text, tooltip, place and state.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocumentFragment>

#include "GuiSupport.h"
#include "gui/AccessibleForm.h"
#include "gui/FormGeometry.h"
#include "gui/InstallOptionsView.h"
#include "gui/ProgressView.h"

namespace tessaron::gui::testing {
namespace {

using app::window::ControlDesign;
using app::window::ControlKind;

using app::window::FormDesign;

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) return box->toPlainText();
    if (auto* check = qobject_cast<QCheckBox*>(widget)) return check->text();
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    return {};
}

bool hasKind(QWidget* widget, const ControlDesign& control) {
    switch (control.kind) {
        case ControlKind::TabControl:
            return qobject_cast<QTabWidget*>(widget);
        case ControlKind::Label:
            return qobject_cast<QLabel*>(widget);
        case ControlKind::TextBox:
            return control.multiLine ? qobject_cast<QPlainTextEdit*>(widget) != nullptr
                                     : qobject_cast<QLineEdit*>(widget) != nullptr;
        case ControlKind::CheckBox:
            return qobject_cast<QCheckBox*>(widget);
        case ControlKind::DropDownList:
            return qobject_cast<QComboBox*>(widget);
        case ControlKind::Button:
            return qobject_cast<QPushButton*>(widget);
        case ControlKind::FileDialog:
            return false;
    }
    return false;
}

Qt::CheckState designedState(int checked) {
    return checked == app::window::kChecked  ? Qt::Checked
           : checked == app::window::kGreyed ? Qt::PartiallyChecked
                                             : Qt::Unchecked;
}

int neededHeight(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget); label && !label->wordWrap()) {
        return label->fontMetrics().height();
    }
    if (auto* check = qobject_cast<const QCheckBox*>(&widget)) return check->sizeHint().height();
    return 0;
}

// The form before any load step: each control as designed.
void expectFormAsDesigned(QWidget& form, const FormDesign& design) {
    const double scale = screenScale(form);
    EXPECT_EQ(form.objectName(), q(design.name));
    EXPECT_EQ(form.windowTitle(), q(design.caption));
    // The install-options dialog may be wider, for its whole title, and is
    // higher by its row of run tools below the designed controls.
    EXPECT_GE(form.width(), twipsToPixels(design.clientWidth, scale));
    if (design.name == "frmInstall") {
        EXPECT_GT(form.height(), twipsToPixels(design.clientHeight, scale));
    } else {
        EXPECT_EQ(form.height(), twipsToPixels(design.clientHeight, scale));
    }
    QTabWidget* tabs = nullptr;
    if (!design.tabCaptions.empty()) {
        tabs = form.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), static_cast<int>(design.tabCaptions.size()));
        for (int tab = 0; tab < tabs->count(); ++tab) {
            EXPECT_EQ(tabs->tabText(tab), q(app::window::mnemonicCaption(
                                              design.tabCaptions[tab], design.tabMnemonics[tab])));
        }
        EXPECT_EQ(tabs->currentIndex(), 0);
    }

    int widgets = 0;
    for (const auto& control : design.controls) {
        SCOPED_TRACE(control.name);
        auto* widget = form.findChild<QWidget*>(q(control.name));
        if (control.kind == ControlKind::FileDialog) {
            EXPECT_EQ(widget, nullptr);  // the file choosers are dialogs of their own
            continue;
        }
        ASSERT_NE(widget, nullptr);
        ++widgets;
        EXPECT_TRUE(hasKind(widget, control));

        // On its tab's page, measured from the tab control's corner; or on the form.
        QPoint origin = widget->pos();
        if (control.tab >= 0) {
            ASSERT_NE(tabs, nullptr);
            EXPECT_EQ(widget->parentWidget(), tabs->widget(control.tab));
            origin = widget->parentWidget()->mapTo(tabs, widget->pos());
        } else {
            EXPECT_EQ(widget->parentWidget(), &form);
        }
        const QRect designed = twipsToPixels(control.place, scale);
        EXPECT_EQ(origin.x(), designed.x());
        // Labels and check boxes lower than their font's line height grow
        // around their middle; everything else keeps its designed height.
        EXPECT_EQ(widget->height(), std::max(designed.height(), neededHeight(*widget)));
        EXPECT_NEAR(origin.y() + widget->height() / 2.0, designed.center().y() + 0.5, 1.0);
        if (qobject_cast<QLabel*>(widget) && !control.multiLine) {
            EXPECT_GE(widget->width(), designed.width());  // grows to show its caption
        } else {
            EXPECT_EQ(widget->width(), designed.width());
        }

        if (control.kind != ControlKind::TabControl && control.kind != ControlKind::DropDownList) {
            EXPECT_EQ(captionOf(widget), shownCaption(control, control.caption));
        }
        // Rich text, so that long tips wrap.
        EXPECT_EQ(QTextDocumentFragment::fromHtml(widget->toolTip()).toPlainText(),
                  q(control.helpText));
        if (!control.helpText.empty()) {
            EXPECT_TRUE(Qt::mightBeRichText(widget->toolTip()));
        }
        EXPECT_EQ(widget->isEnabled(), control.enabled);
        EXPECT_EQ(widget->isHidden(), !control.visible);
        if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            EXPECT_EQ(check->checkState(), designedState(control.checked));
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            EXPECT_FALSE(combo->isEditable());  // chosen from the list, never typed
            QStringList entries;
            for (const auto& entry : control.entries) entries << q(entry);
            QStringList shown;
            for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
            EXPECT_EQ(shown, entries);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (control.maxLength > 0) {
                EXPECT_EQ(edit->maxLength(), control.maxLength);
            }
            EXPECT_EQ(edit->echoMode(), control.secret ? QLineEdit::Password : QLineEdit::Normal);
        }
        if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
            EXPECT_EQ(log->verticalScrollBarPolicy(),
                      control.verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        }
    }
    EXPECT_GT(widgets, 0);
}

TEST(CatalogueOnScreen, SettingsWindowShowsEveryControlOnItsTab) {
    ViewOnMachine w(sample2003(), /*load=*/false);
    w.view->show();
    expectFormAsDesigned(*w.view, app::window::mainFormDesign());
    // Spot checks that do not lean on the catalogue's own data.
    EXPECT_EQ(w.view->windowTitle(), QStringLiteral("Tessaron Configuration Utility"));
    EXPECT_EQ(
        QTextDocumentFragment::fromHtml(w.as<QPushButton>("btnInstall")->toolTip()).toPlainText(),
        QStringLiteral("Click here to begin Tessaron configuration."));
    EXPECT_EQ(w.as<QLineEdit>("txtMainIP")->maxLength(), 15);
    EXPECT_EQ(w.as<QCheckBox>("chkInternalIP")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(w.widget("txtInternalIP")->isEnabled());
}

TEST(CatalogueOnScreen, InstallOptionsDialogAndProgressWindow) {
    ensureApplication();
    InstallOptions options;
    InstallOptionsView dialog(options, nullptr);
    expectFormAsDesigned(dialog, app::window::installFormDesign());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Install/Update Tessaron Configuration"));

    ProgressView progress([](app::wiring::RunEvents) { return nullptr; }, nullptr);
    // The designed form sits at the top of the window, above its own rows.
    auto* form = progress.findChild<QWidget*>(QStringLiteral("frmProgress"));
    ASSERT_NE(form, nullptr);
    form->setWindowTitle(progress.windowTitle());
    expectFormAsDesigned(*form, app::window::progressFormDesign());
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Configuring Tessaron..."));
    EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(progress.control("txtProgress"))->isReadOnly());
}

TEST(CatalogueOnScreen, LoadStepShowsInTheWidgets) {
    ViewOnMachine w(sample2003());
    ASSERT_EQ(w.loaded, app::window::LoadResult::Shown);
    w.view->show();
    EXPECT_EQ(w.as<QLabel>("lblPanelRoot")->text(),
              QStringLiteral("Install Directory: C:\\Tessaron"));
    // The discovered caption shows whole, however narrow "Label1" was designed.
    auto* root = w.as<QLabel>("lblPanelRoot");
    EXPECT_GE(root->width(), root->sizeHint().width());
    EXPECT_EQ(w.as<QLineEdit>("txtServerRoot")->text(), QStringLiteral("C:\\Tessaron\\accounts"));
    EXPECT_EQ(w.as<QLineEdit>("txtMainIP")->text(), QStringLiteral("10.0.0.5"));
    EXPECT_EQ(w.as<QCheckBox>("chkInternalIP")->checkState(), Qt::Checked);
    EXPECT_TRUE(w.widget("txtInternalIP")->isEnabled());
    auto* styles = w.as<QComboBox>("cmbDefaultPanelStyle");
    EXPECT_EQ(styles->count(),
              static_cast<int>(w.window.controls().entries("cmbDefaultPanelStyle").size()));
    EXPECT_EQ(styles->currentIndex(), 0);
    auto* ftp = w.as<QComboBox>("cmbFTPServerType");
    EXPECT_EQ(ftp->itemText(0), QStringLiteral("Microsoft FTP"));
    EXPECT_FALSE(w.widget("cmbMainFTPSVC")->isHidden());
    EXPECT_TRUE(w.widget("txtFTPServerPath")->isHidden());
    EXPECT_TRUE(w.widget("lblDNSWMI")->isHidden());  // Windows Server 2003
    EXPECT_EQ(w.as<QLabel>("lblFTPUsage")->text(),
              QStringLiteral("Microsoft FTP Usage:\nTessaron can either create a new FTP site, or "
                             "use an existing FTP site.  The site used must listen on all IP "
                             "addresses in order to function properly."));
}

TEST(CatalogueOnScreen, PlacesScaleWithTheScreen) {
    struct Case {
        int twips;
        double scale;
        int pixels;
    };
    for (const Case& c : {Case{8535, 1.0, 569}, Case{3915, 1.0, 261}, Case{195, 1.0, 13},
                          Case{8535, 1.25, 711}, Case{8535, 2.0, 1138}, Case{255, 1.5, 26}}) {
        EXPECT_EQ(twipsToPixels(c.twips, c.scale), c.pixels) << c.twips << " at " << c.scale;
    }
    EXPECT_EQ(pixelsToTwips(569, 1.0), 8535);
    EXPECT_EQ(pixelsToTwips(1138, 2.0), 8535);
}

}  // namespace
}  // namespace tessaron::gui::testing
