#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ConfigKeys.h"

namespace tessaron {

// The text of one body line (without CR LF), or nullopt when its value
// could not be obtained.
std::optional<std::string> configFileLineText(const ConfigKey& line,
                                              const ConfigFileSources& sources);

// All 69 body lines in order; see configFileLineText.
std::vector<std::optional<std::string>> configFileBodyLines(const ConfigFileSources& sources);

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
std::string frontPage2002ToolPath(const std::string& programFilesDir);

// The creation date of the second comment line: month/day/year in local time,
// without leading zeros and with four-digit year (for example 3/7/2024), the
// short date format of a United States English system.
std::string shortDateText(std::chrono::system_clock::time_point when);

}  // namespace tessaron
