// Every control of the settings window's catalogue on screen: kind, text,
// place and size at 96 DPI, tooltip and tab order; then the field rules as
// the user meets them through the controls.
#include <gtest/gtest.h>

// windows.h before the common controls' header.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <map>

#include "WindowDriver.h"
#include "app/window/TabOrder.h"
#include "platform/WideText.h"
#include "support/TestMachine.h"
#include "support/app/AppMachine.h"

namespace tessaron::winui::testing {
namespace {

using app::window::ControlKind;
using tessaron::testing::TestMachine;

// The window class and the button style of each kind.
struct KindOnScreen {
    const char* windowClass;
    LONG buttonType;  // -1: not a button
};
const std::map<ControlKind, KindOnScreen> kKinds = {
    {ControlKind::Label, {"Static", -1}},
    {ControlKind::TextBox, {"Edit", -1}},
    {ControlKind::CheckBox, {"Button", BS_3STATE}},
    {ControlKind::DropDownList, {"ComboBox", -1}},
    {ControlKind::Button, {"Button", BS_PUSHBUTTON}},
    {ControlKind::TabControl, {"SysTabControl32", -1}},
};

bool sameClass(const std::string& seen, const char* expected) {
    return _stricmp(seen.c_str(), expected) == 0;
}

// The width a label's caption takes in the label's font.
int captionWidth(HWND label) {
    const std::wstring text = toWide(textOf(label));
    HDC dc = GetDC(label);
    HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE needed{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &needed);
    SelectObject(dc, before);
    ReleaseDC(label, dc);
    return needed.cx;
}

struct LoadedWindow {
    LoadedWindow() : program(machine.root()) { main = program.mainWindow(); }
    TestMachine machine = TestMachine::sample("windows2003");
    RunningProgram program;
    HWND main = nullptr;
    const app::window::FormDesign& form = app::window::mainFormDesign();
    HWND control(const std::string& name) const { return controlWindow(main, form, name); }
};

TEST(WinSettingsWindow, EveryCatalogueControlHasItsKindPlaceAndText) {
    // What the load step leaves in each control, from the model on a second
    // copy of the same machine.
    app::testing::RecordingMessages messages;
    TestMachine twin = TestMachine::sample("windows2003");
    MachineImage image(twin.root());
    SettingsRecord settings;
    app::window::SettingsWindow model(image, settings, messages);
    ASSERT_EQ(model.Load(), app::window::LoadResult::Shown);

    LoadedWindow w;
    ASSERT_NE(w.main, nullptr);
    RECT client{};
    GetClientRect(w.main, &client);
    EXPECT_NEAR(client.right, w.form.clientWidth / 15, 1);
    EXPECT_NEAR(client.bottom, w.form.clientHeight / 15, 1);
    const RECT tabs = placeIn(w.main, w.control("SSTab1"));
    for (const auto& design : w.form.controls) {
        if (design.kind == ControlKind::FileDialog) continue;
        SCOPED_TRACE(design.name);
        HWND window = w.control(design.name);
        ASSERT_NE(window, nullptr);
        const KindOnScreen& kind = kKinds.at(design.kind);
        const std::string seenClass = classOf(window);
        EXPECT_TRUE(sameClass(seenClass, kind.windowClass) ||
                    (design.multiLine && sameClass(seenClass, "RichEdit20W")))
            << seenClass;
        if (kind.buttonType >= 0) {
            const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
            EXPECT_TRUE(type == kind.buttonType ||
                        (kind.buttonType == BS_PUSHBUTTON && type == BS_DEFPUSHBUTTON));
        }
        if (design.kind != ControlKind::TabControl && design.kind != ControlKind::DropDownList) {
            EXPECT_EQ(textOf(window), model.controls().text(design.name));
        }
        EXPECT_EQ(IsWindowEnabled(window) != 0, model.controls().enabled(design.name));
        RECT place = placeIn(w.main, window);
        if (design.tab >= 0) OffsetRect(&place, -tabs.left, -tabs.top);
        EXPECT_NEAR(place.left, design.place.left / 15, 1);
        EXPECT_NEAR(place.top, design.place.top / 15, 1);
        if (design.kind == ControlKind::Label && !design.multiLine) {
            // Grows to show its caption whole (a discovered path is longer
            // than "Label1" was designed for).
            EXPECT_GE(place.right - place.left, design.place.width / 15 - 1);
            EXPECT_GE(place.right - place.left, captionWidth(window));
            // A designed caption fits the designed width in the forms' face,
            // so that growing never puts it under its neighbour.
            if (textOf(window) == design.caption) {
                EXPECT_LE(captionWidth(window), design.place.width / 15 + 1);
            }
        } else {
            EXPECT_NEAR(place.right - place.left, design.place.width / 15, 1);
        }
        EXPECT_NEAR(place.bottom - place.top, design.place.height / 15, 1);
    }
}

TEST(WinSettingsWindow, TooltipsAndTabOrderFollowTheCatalogue) {
    LoadedWindow w;
    ASSERT_NE(w.main, nullptr);
    HWND tooltip = findWindow(w.program.threadId(), TOOLTIPS_CLASSW);
    if (!tooltip) {
        // Tooltip windows are hidden until they show a tip.
        tooltip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
        while (tooltip && GetWindow(tooltip, GW_OWNER) != w.main) {
            tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
        }
    }
    ASSERT_NE(tooltip, nullptr);
    int withHelp = 0;
    for (const auto& design : w.form.controls) {
        if (design.helpText.empty() || design.kind == ControlKind::FileDialog) continue;
        SCOPED_TRACE(design.name);
        ++withHelp;
        HWND window = w.control(design.name);
        wchar_t text[2048] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = GetParent(window);
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 2048, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(fromWide(text), design.helpText);
    }
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), withHelp);

    // Tab from the tab strip: each tab's reachable controls in reading
    // order, then the install button, then round to the strip.
    HWND strip = w.control("SSTab1");
    for (int tab = 0; tab < static_cast<int>(w.form.tabCaptions.size()); ++tab) {
        SCOPED_TRACE(w.form.tabCaptions[tab]);
        selectTab(strip, tab);
        std::vector<HWND> expected;
        for (const auto& name : app::window::readingOrder(w.form, tab)) {
            HWND next = w.control(name);
            if (IsWindowEnabled(next) && IsWindowVisible(next)) expected.push_back(next);
        }
        expected.push_back(w.control("btnInstall"));
        expected.push_back(strip);
        std::vector<HWND> seen;
        HWND at = strip;
        for (std::size_t step = 0; step < expected.size(); ++step) {
            at = GetNextDlgTabItem(w.main, at, FALSE);
            seen.push_back(at);
        }
        EXPECT_EQ(seen, expected);
    }
}

TEST(WinSettingsWindow, TheRulesShowThroughTheControls) {
    LoadedWindow w;
    ASSERT_NE(w.main, nullptr);
    // A section's switch enables and disables its fields.
    const std::pair<const char*, const char*> switches[] = {
        {"chkStatistics", "cmbStatisticsType"},
        {"chkWebsitePreview", "cmbPreviewSVC"},
        {"chkMySQLActive", "txtMySQLIP"},
        {"chkDNSServerEnabled", "txtPrimaryDNS"},
    };
    for (const auto& [box, field] : switches) {
        SCOPED_TRACE(box);
        const bool before = IsWindowEnabled(w.control(field)) != 0;
        click(w.control(box));
        EXPECT_EQ(IsWindowEnabled(w.control(field)) != 0, !before);
        EXPECT_EQ(SendMessageW(w.control(box), BM_GETCHECK, 0, 0) == BST_CHECKED, !before);
        click(w.control(box));
        EXPECT_EQ(IsWindowEnabled(w.control(field)) != 0, before);
    }

    // The main address mirrors into the internal one while its box is clear
    // (the sample's 10.0.0.5 is an internal address: the box starts ticked).
    ASSERT_EQ(SendMessageW(w.control("chkInternalIP"), BM_GETCHECK, 0, 0), BST_CHECKED);
    click(w.control("chkInternalIP"));
    ASSERT_EQ(SendMessageW(w.control("chkInternalIP"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(w.control("txtInternalIP")));
    typeText(w.control("txtMainIP"), "192.0.2.44");
    EXPECT_EQ(textOf(w.control("txtInternalIP")), "192.0.2.44");

    // The FTP type swaps the site list for the folder box, and back.
    HWND type = w.control("cmbFTPServerType");
    const auto entry = [type](const char* text) {
        return static_cast<int>(SendMessageW(type, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(toWide(text).c_str())));
    };
    ASSERT_GE(entry("BulletProof FTP"), 0);
    const std::string microsoftUsage = textOf(w.control("lblFTPUsage"));
    selectEntry(type, entry("BulletProof FTP"));
    EXPECT_FALSE(IsWindowVisible(w.control("cmbMainFTPSVC")) &&
                 GetWindowLongW(w.control("cmbMainFTPSVC"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(w.control("txtFTPServerPath"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_NE(textOf(w.control("lblFTPUsage")), microsoftUsage);
    selectEntry(type, entry("Microsoft FTP"));
    EXPECT_TRUE(GetWindowLongW(w.control("cmbMainFTPSVC"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(w.control("txtFTPServerPath"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(textOf(w.control("lblFTPUsage")), microsoftUsage);
    // The list shows the entry chosen.
    EXPECT_EQ(SendMessageW(type, CB_GETCURSEL, 0, 0), entry("Microsoft FTP"));
    EXPECT_EQ(textOf(type), "Microsoft FTP");
}

}  // namespace
}  // namespace tessaron::winui::testing
