#include "gui/generator/FormUi.h"

#include <cmath>
#include <sstream>

#include "platform/Text.h"

namespace tessaron::gui {
namespace {

using app::window::ControlDesign;
using app::window::ControlKind;

using app::window::FormDesign;

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (const char* entity = xmlEntity(c)) {
            out += entity;
            continue;
        }
        switch (c) {
            case '\r':
                break;  // captions keep CR LF in the model; the .ui holds line feeds
            default:
                out += c;
        }
    }
    return out;
}

int pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

// The install-options dialog has OK and Cancel; the other forms are windows.
std::string formClass(const FormDesign& form) {
    return form.name == "frmInstall" ? "QDialog" : "QWidget";
}

class Writer {
public:
    explicit Writer(std::ostringstream& out) : out_(out) {}

    void open(const std::string& cls, const std::string& name, int depth) {
        indent(depth);
        out_ << "<widget class=\"" << cls << "\" name=\"" << escaped(name) << "\">\n";
    }
    void close(int depth) {
        indent(depth);
        out_ << "</widget>\n";
    }
    void rect(int depth, int x, int y, int w, int h) {
        indent(depth);
        out_ << "<property name=\"geometry\"><rect><x>" << x << "</x><y>" << y << "</y><width>" << w
             << "</width><height>" << h << "</height></rect></property>\n";
    }
    void string(int depth, const std::string& property, const std::string& value) {
        indent(depth);
        out_ << "<property name=\"" << property << "\"><string notr=\"true\">" << escaped(value)
             << "</string></property>\n";
    }
    void boolean(int depth, const std::string& property, bool value) {
        indent(depth);
        out_ << "<property name=\"" << property << "\"><bool>" << (value ? "true" : "false")
             << "</bool></property>\n";
    }
    void number(int depth, const std::string& property, int value) {
        indent(depth);
        out_ << "<property name=\"" << property << "\"><number>" << value
             << "</number></property>\n";
    }
    void enumeration(int depth, const std::string& property, const std::string& value) {
        indent(depth);
        out_ << "<property name=\"" << property << "\"><enum>" << value << "</enum></property>\n";
    }
    void set(int depth, const std::string& property, const std::string& value) {
        indent(depth);
        out_ << "<property name=\"" << property << "\"><set>" << value << "</set></property>\n";
    }
    void item(int depth, const std::string& text) {
        indent(depth);
        out_ << "<item><property name=\"text\"><string notr=\"true\">" << escaped(text)
             << "</string></property></item>\n";
    }
    void tabTitle(int depth, const std::string& title) {
        indent(depth);
        out_ << "<attribute name=\"title\"><string notr=\"true\">" << escaped(title)
             << "</string></attribute>\n";
    }
    void line(int depth, const std::string& text) {
        indent(depth);
        out_ << text << "\n";
    }

private:
    void indent(int depth) { out_ << std::string(static_cast<std::size_t>(depth), ' '); }
    std::ostringstream& out_;
};

void writeControl(Writer& w, const ControlDesign& c, int depth) {
    const std::string cls = widgetClass(c);
    w.open(cls, c.name, depth);
    const int d = depth + 1;
    w.rect(d, pixels(c.place.left), pixels(c.place.top), pixels(c.place.width),
           pixels(c.place.height));
    switch (c.kind) {
        case ControlKind::Label:
            w.string(d, "text", c.caption);
            w.enumeration(d, "textFormat", "Qt::PlainText");
            if (c.multiLine) {
                w.boolean(d, "wordWrap", true);
                w.set(d, "alignment", "Qt::AlignLeading|Qt::AlignLeft|Qt::AlignTop");
            }
            break;
        case ControlKind::TextBox:
            if (c.multiLine) {
                w.string(d, "plainText", c.caption);
                w.boolean(d, "readOnly", true);
                if (c.verticalScrollBar) {
                    w.enumeration(d, "verticalScrollBarPolicy", "Qt::ScrollBarAlwaysOn");
                }
            } else {
                w.string(d, "text", c.caption);
                if (c.maxLength > 0) w.number(d, "maxLength", c.maxLength);
            }
            break;
        case ControlKind::CheckBox:
            w.string(d, "text", c.caption);
            if (c.checked == app::window::kGreyed) w.boolean(d, "tristate", true);
            w.boolean(d, "checked", c.checked == app::window::kChecked);
            break;
        case ControlKind::DropDownList:
            w.boolean(d, "editable", false);
            for (const auto& entry : c.entries) w.item(d, entry);
            break;
        case ControlKind::Button:
            w.string(d, "text", c.caption);
            w.boolean(d, "autoDefault", false);
            break;
        case ControlKind::TabControl:
        case ControlKind::FileDialog:
            break;
    }
    if (!c.helpText.empty()) w.string(d, "toolTip", c.helpText);
    if (!c.enabled) w.boolean(d, "enabled", false);
    if (c.kind != ControlKind::TabControl) w.close(depth);
}

}  // namespace

std::string widgetClass(const ControlDesign& control) {
    switch (control.kind) {
        case ControlKind::TabControl:
            return "QTabWidget";
        case ControlKind::Label:
            return "QLabel";
        case ControlKind::TextBox:
            return control.multiLine ? "QPlainTextEdit" : "QLineEdit";
        case ControlKind::CheckBox:
            return "QCheckBox";
        case ControlKind::DropDownList:
            return "QComboBox";
        case ControlKind::Button:
            return "QPushButton";
        case ControlKind::FileDialog:
            return "";
    }
    return "";
}

std::string tabPageName(const std::string& tabControl, int index) {
    return tabControl + "_" + std::to_string(index);
}

std::string formUi(const FormDesign& form) {
    std::ostringstream out;
    Writer w(out);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<!-- Generated from the control catalogue by tessaron-generate-forms; do not edit. "
           "-->\n";
    out << "<ui version=\"4.0\">\n";
    w.line(1, "<class>" + form.name + "</class>");
    w.open(formClass(form), form.name, 1);
    w.rect(2, 0, 0, pixels(form.clientWidth), pixels(form.clientHeight));
    w.string(2, "windowTitle", form.caption);

    // Controls placed on the form itself, in catalogue order; a tab control
    // takes the controls of its tabs as pages.
    for (const auto& control : form.controls) {
        if (control.tab >= 0 || control.kind == ControlKind::FileDialog) continue;
        writeControl(w, control, 2);
        if (control.kind != ControlKind::TabControl) continue;
        w.number(3, "currentIndex", 0);
        for (std::size_t tab = 0; tab < form.tabCaptions.size(); ++tab) {
            w.open("QWidget", tabPageName(control.name, static_cast<int>(tab)), 3);
            w.tabTitle(4, form.tabCaptions[tab]);
            for (const auto& onTab : form.controls) {
                if (onTab.tab == static_cast<int>(tab)) writeControl(w, onTab, 4);
            }
            w.close(3);
        }
        w.close(2);
    }
    w.close(1);

    // Tab order: the catalogue's order of the controls that take focus.
    w.line(1, "<tabstops>");
    for (const auto& control : form.controls) {
        switch (control.kind) {
            case ControlKind::TextBox:
            case ControlKind::CheckBox:
            case ControlKind::DropDownList:
            case ControlKind::Button:
                w.line(2, "<tabstop>" + escaped(control.name) + "</tabstop>");
                break;
            default:
                break;
        }
    }
    w.line(1, "</tabstops>");
    w.line(1, "<resources/>");
    w.line(1, "<connections/>");
    out << "</ui>\n";
    return out.str();
}

}  // namespace tessaron::gui
