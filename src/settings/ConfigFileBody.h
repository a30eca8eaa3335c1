#pragma once

#include <chrono>
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

// How a body line is made from its key and value.
enum class LineForm {
    Quoted,   // Key = "converted value"
    Bare,     // Key = converted value
    RawBare,  // Key = value
    Literal,  // the key column is the whole line
    Heading,  // the key column followed by the value, unconverted
};

// One line of the body table. value is null for literal lines; it returns
// nullopt when its source could not be obtained, which fails the line.
struct ConfigFileLine {
    const char* key;
    LineForm form;
    std::optional<std::string> (*value)(const ConfigFileSources&);
};

// The 69 lines of the body, in file order.
const std::vector<ConfigFileLine>& ConfigFileBodyTable();

// The text of one line (without CR LF), or nullopt when its value could not
// be obtained.
std::optional<std::string> ConfigFileLineText(const ConfigFileLine& line,
                                              const ConfigFileSources& sources);

// All 69 body lines in order; see ConfigFileLineText.
std::vector<std::optional<std::string>> ConfigFileBodyLines(const ConfigFileSources& sources);

// The value with every CR and LF removed. A line break inside a value would
// end the VBScript statement early and let the rest of the value stand as a
// statement of its own in the panel's configuration; the remaining characters
// are kept so that nothing else of the value is lost.
std::string withoutLineBreaks(std::string value);

// A VBScript string literal of the value: the value between double quotes
// with each double quote in it doubled, so the panel reads back the value
// and nothing of it can end the literal and stand as code.
std::string vbscriptStringLiteral(std::string_view value);

// The path of the FrontPage 2002 extensions' administration tool under the
// Program Files folder.
std::string FrontPage2002ToolPath(const std::string& programFilesDir);

// The creation date of the second comment line: month/day/year in local time,
// without leading zeros and with four-digit year (for example 3/7/2024), the
// short date format of a United States English system.
std::string ShortDateText(std::chrono::system_clock::time_point when);

}  // namespace tessaron
