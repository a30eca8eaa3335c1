#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron::app::window {

// The kinds of control the program's forms are built from.
enum class ControlKind {
    TabControl,    // SSTab1: one row of tabs, captions in FormDesign::tabCaptions
    Label,         // static text; caption in ControlDesign::caption
    TextBox,       // single-line editable text (multi-line when ControlDesign::multiLine)
    CheckBox,      // caption plus a value 0 (unchecked), 1 (checked), 2 (greyed)
    DropDownList,  // a combo box whose text can only be chosen from its list
    Button,        // a push button; pressing it fires its rule
    FileDialog,    // CommonDialog1: never visible, serves the file choosers
};

// Check-box values as the window stores them.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGreyed = 2;

// Place and size in twips (1/1440 inch; 15 twips to a pixel at 96 DPI),
// relative to the form's client area for controls placed on the form, and to
// the tab control's area for controls on a tab.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One control of a form as designed: its state before the form's load step.
struct ControlDesign {
    std::string name;
    ControlKind kind = ControlKind::Label;
    // Index into FormDesign::tabCaptions, or -1 for a control placed directly
    // on the form (a control on a tab is visible only while its tab shows).
    int tab = -1;
    // Caption (labels, buttons, check boxes) or initial text (text boxes).
    std::string caption;
    Twips place;
    int checked = kUnchecked;  // check boxes only
    bool enabled = true;
    bool visible = true;
    int maxLength = 0;                 // text boxes; 0 means no limit
    bool multiLine = false;            // lblFTPUsage, txtProgress
    bool verticalScrollBar = false;    // txtProgress
    std::vector<std::string> entries;  // fixed list entries of a drop-down list
    std::string helpText;              // tooltip; empty when the control has none

    // Keyboard and screen readers (ControlAccess.cpp), the same for every view.
    char mnemonic = 0;           // the caption's letter Alt selects (0: none)
    std::string buddy;           // labels: the field their mnemonic focuses
    std::string accessibleName;  // what a screen reader announces for the control
    bool secret = false;         // text boxes: masked, shown in clear only on request
    std::string hint;            // text boxes: a short note shown beside the field
};

// One form: its caption, client area and controls, in catalogue order (for
// frmInstall that order is the tab order).
struct FormDesign {
    std::string name;
    std::string caption;
    int clientWidth = 0;                   // twips
    int clientHeight = 0;                  // twips
    std::vector<std::string> tabCaptions;  // frmMain's SSTab1 only
    std::string tabMnemonics;              // one letter per tab caption
    std::vector<ControlDesign> controls;
};

// The settings window frmMain: the six tabs and every control.
const FormDesign& mainFormDesign();
// The install-options dialog frmInstall.
const FormDesign& installFormDesign();
// The progress window frmProgress.
const FormDesign& progressFormDesign();

// The caption as a view's mnemonic syntax writes it: "&" before the first
// occurrence of the mnemonic letter (either case), a literal "&" doubled.
std::string mnemonicCaption(const std::string& caption, char mnemonic);

// Fills the keyboard and screen-reader fields of a form's controls
// (ControlAccess.cpp).
void describeAccess(FormDesign& form);

// The control of a form by name (exact case), or nullptr.
const ControlDesign* findControlDesign(const FormDesign& form, std::string_view name);

// The title the program shows on message boxes that have none of their own.
inline constexpr std::string_view kApplicationTitle = "TessaronConfig";

}  // namespace tessaron::app::window
