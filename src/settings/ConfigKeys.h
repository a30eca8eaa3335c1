#pragma once

// The keys of config.inc in one table: how the run writes each line of the
// body and which keys a reader of an existing file takes back, into which
// field of the settings record.

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

// One key of config.inc, or one fixed line of its body.
struct ConfigKey {
    // The key as written ("MainCompanyName"); for literal and heading lines
    // the fixed text.
    const char* name;
    LineForm form;
    // The field of the settings record the key stands for (null: none).
    std::string SettingsRecord::*field = nullptr;
    // Whether reading an existing file takes the key back into its field;
    // the panel's own lines (ServerName, PanelRoot, the statistics folders)
    // are derived again by every run.
    bool read = false;
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
