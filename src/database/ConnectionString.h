#pragma once

#include <string>

#include "settings/SettingsRecord.h"

namespace tessaron {

// The ODBC connection string of the panel database:
//   DRIVER={...};Server=<address>;Database=<name>;UID=<login>;pwd=<password>;
// The driver part is "DRIVER={SQL Server};" or "DRIVER={MySQL ODBC 3.51
// Driver};" by MainSQLServerType and absent for any other type. The server
// address and database name are placed as typed, so administrators can add
// driver options there (";Port=3307").
std::string buildConnectionString(const SettingsRecord& settings);

// A login or password as a connection-string value: as typed, or, when it
// holds ";", "{" or "}", in braces with every "}" doubled, so the value
// reaches the driver whole.
std::string connectionStringValue(const std::string& value);

}  // namespace tessaron
