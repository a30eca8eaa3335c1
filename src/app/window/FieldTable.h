#pragma once

// The settings window's fields in one table: which control holds each value
// of the settings record, which check box switches its group, what shape and
// length the value may have, how the install button copies it, how an
// existing config.inc is read back into the control and how an answers file
// records it. Validation, the install button, the configuration reader and
// the answers recorder all work from this table.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsRecord.h"

namespace tessaron::app::window {

// What a value must look like besides holding no control character.
enum class ValueShape {
    Text,         // any text
    Port,         // a whole number from 1 to 65535, digits only
    Ipv4,         // four numbers from 0 to 255 joined by dots
    Ipv4OrEmpty,  // the same, or empty text
};

// How the install button takes the value from its control.
enum class CopiedAs {
    Text,       // the text box's text (or whenEmpty for an empty box)
    Folder,     // the text with exactly one trailing backslash
    Selection,  // the selected entry's text
    Switch,     // "True" when the box is ticked, "False" otherwise
    ByFtpType,  // completed by the install button after the table, by the FTP server type
};

// What reading config.inc back does with the value of the field's key.
enum class ReadBack {
    NotRead,        // the key sets no control
    Text,           // the value becomes the control's text
    Select,         // the control's entry equal to the value is selected
    Switch,         // the box is ticked on "true" (any case), cleared otherwise; the
                    // readListed controls are then enabled or disabled with it
    TickOnly,       // the box is ticked on "true" (any case), otherwise left alone
    InternalIP,     // Text; then the readListed box is ticked when the internal address
                    // differs from the main address, cleared when they are equal
    FtpServerType,  // Select; then the FTP controls of "Microsoft FTP" or "BulletProof FTP"
                    // are shown for those two values
    SiteLookup,     // the site numbered by the value, under the readListed service path, is
                    // selected in the control by its ServerComment
};

// The value of whileOff for a field that keeps what it held while its group
// is switched off (read from config.inc, chosen with a folder button or
// copied by an earlier press of the install button).
inline constexpr std::optional<std::string_view> kKeptWhileOff = std::nullopt;

// One control and the field of the settings record it stands for.
struct Field {
    std::string_view control;
    std::string SettingsRecord::*field;
    CopiedAs copied = CopiedAs::Text;
    // The check box that switches the field's group on; empty: always on. A
    // group is on when its box is ticked and the box's own group is on.
    std::string_view group = {};
    // What the field holds while its group is off.
    std::optional<std::string_view> whileOff = std::string_view();
    // What an empty text box stands for (empty: the empty text).
    std::string_view whenEmpty = {};
    // The control whose caption names the value in a refusal; empty: the
    // install button does not check the value.
    std::string_view label = {};
    ValueShape shape = ValueShape::Text;
    // The column or field that stores the value, in characters; 0: no limit.
    int maxLength = 0;
    ReadBack readBack = ReadBack::NotRead;
    // The field whose config.inc key is read into the control, when it is
    // not the copied field (a site list shows the site a number names).
    std::string SettingsRecord::*readFrom = nullptr;
    std::vector<std::string_view> readListed = {};
    // The environment variable a recorded answers file names instead of the
    // value (passwords); empty: the value itself is recorded.
    std::string_view recordedAs = {};

    std::string SettingsRecord::*readField() const { return readFrom ? readFrom : field; }
};

// Every field, tab by tab in the order the window shows them (the order in
// which the install button checks them).
const std::vector<Field>& fieldTable();

// The row of a control, or null when it stands for no field.
const Field* findFieldOfControl(std::string_view control);

// The row that reads the config.inc key of a field back into a control, or
// null when no control shows that key.
const Field* findFieldReadFrom(std::string SettingsRecord::*field);

}  // namespace tessaron::app::window
