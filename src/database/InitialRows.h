#pragma once

#include <ctime>
#include <string>

#include "database/SqlLiteral.h"
#include "settings/SettingsRecord.h"

namespace tessaron {

enum class SqlDialect { SqlServer, MySql };

// Local date and time as the server of each dialect is given it:
//   SQL Server  "3/7/2004 2:05:09 PM" (United States short date, 12-hour time)
//   MySQL       "2004-3-7 14:5:00"    (no leading zeros, seconds always 00)
std::string sqlServerTimestamp(const std::tm& local);
std::string mySqlTimestamp(const std::tm& local);

// "SELECT COUNT(*) AS Total FROM <IP table> WHERE IPAddress = '<ServerIP>'".
// MySQL names the table as its CREATE statement does ("ips"), because that
// server may match table names case-sensitively.
std::string ipCountQuery(SqlDialect dialect, const SettingsRecord& settings, LiteralStyle style);

// The server's own row in the IP table; Used and ResellerID are -1.
std::string ipInsertStatement(const SettingsRecord& settings, LiteralStyle style);

// The administrator's reseller row. SQL Server leaves ResellerID to the
// identity and separates values by ","; MySQL gives ResellerID '1' and
// separates by ", ".
std::string resellerInsertStatement(SqlDialect dialect, const SettingsRecord& settings,
                                    const std::string& timestamp, LiteralStyle style);

}  // namespace tessaron
