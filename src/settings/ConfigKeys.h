#pragma once

// The keys of config.inc in one table: how the run writes each line of the
// body and how the settings window reads each key back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsRecord.h"

namespace tessaron {

// What the body of config.inc is built from besides the settings record.
struct ConfigFileSources {
    const SettingsRecord& settings;
    // The Program Files folder (for the FrontPage 2002 administration tool).
    std::string programFilesDir;
    // The system's temporary folder; nullopt when the query failed, which
    // fails the TempFolder line.
    std::optional<std::string> tempFolder;
    // The creation date as the second comment line shows it.
    std::string creationDate;
};

// How the run writes a key.
enum class LineForm {
    Quoted,      // a body line: Key = "converted value"
    Bare,        // a body line: Key = converted value
    RawBare,     // a body line: Key = value
    Literal,     // a body line: the name is the whole line
    Heading,     // a body line: the name followed by the value, unconverted
    AfterBody,   // written after the body by the site-settings append step
    NotWritten,  // only read: files of earlier configurations may carry it
};

// What reading a key back does in the settings window. The key's field (of
// the settings record) names where the value belongs; the effect says which
// control shows it.
enum class ReadEffect {
    NotRead,        // the reader skips the key
    FieldOnly,      // no control shows the value
    Text,           // the value becomes the control's text
    Select,         // the control's entry equal to the value is selected
    Switch,         // the check box is ticked on "true" (any case), cleared otherwise; the
                    // listed controls are then enabled or disabled with it
    TickOnly,       // the check box is ticked on "true" (any case), otherwise left alone
    InternalIP,     // Text; then the listed check box is ticked when the internal address
                    // differs from the main address, cleared when they are equal
    FtpServerType,  // Select; then the FTP controls of "Microsoft FTP" or "BulletProof FTP"
                    // are shown for those two values
    SiteLookup,     // the site numbered by the value, under the listed service path, is
                    // selected in the control by its ServerComment
};

// One key of config.inc, or one fixed line of its body.
struct ConfigKey {
    // The key as written ("MainCompanyName"); for literal and heading lines
    // the fixed text.
    const char* name;
    LineForm form;
    // The field of the settings record the key stands for (null: none).
    std::string SettingsRecord::*field = nullptr;
    ReadEffect effect = ReadEffect::NotRead;
    const char* control = nullptr;
    // Switch: the controls enabled with the box; InternalIP: the check box;
    // SiteLookup: the service path.
    std::vector<const char*> listed = {};
    // The written value when it is not simply the field; nullopt fails the line.
    std::optional<std::string> (*value)(const ConfigFileSources&) = nullptr;
    // Further keys the reader takes for this one, in lower case.
    std::vector<const char*> readAliases = {};
};

// Every key: the body's 69 lines in file order, then the site lines the
// append step writes after them in their order, then the keys only read.
const std::vector<ConfigKey>& configKeys();

// The key a line of config.inc names, matched as the reader matches: key
// (already lower case, as ConfigLine holds it) against each read key's name
// in lower case and its aliases; null for a key the reader does not know.
const ConfigKey* findReadKey(std::string_view lowerKey);

// True for the 69 lines of the body.
bool isBodyLine(const ConfigKey& key);

}  // namespace tessaron
