#pragma once

#include <string_view>

namespace tessaron {

// The version of the panel database this program creates. Written to the
// version table in both dialects and used as the MySQL column default; the
// SQL Server column holds at most 20 characters.
inline constexpr std::string_view kDatabaseVersion = "1.0";

}  // namespace tessaron
