#pragma once

#include <string>

namespace tessaron {

// The value conversion of config.inc: double quotes doubled, "/" turned into
// "\", then every run of backslashes reduced to one.
std::string ConvertASPText(const std::string& text);

}  // namespace tessaron
