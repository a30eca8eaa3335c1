#pragma once

// The ODBC headers; Windows' need its base types first.
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>

namespace tessaron::odbc {

// The calls that carry text, in the driver manager's text width: on Windows
// the wide-character functions, so that text beyond the ANSI code page
// (logins, passwords, values) reaches the driver intact and because odbc32
// implementations may lack the ANSI entry points; elsewhere the narrow ones,
// whose UTF-8 bytes the drivers take as they are. Program text is UTF-8.

SQLRETURN driverConnect(SQLHDBC connection, const std::string& connectionString);
SQLRETURN execDirect(SQLHSTMT statement, const std::string& text);
// The label of a result column.
SQLRETURN columnLabel(SQLHSTMT statement, SQLUSMALLINT column, std::string& label);
// The message, SQLSTATE and native error of a diagnostic record.
SQLRETURN diagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record,
                           std::string& message, std::string& sqlState, long& nativeError);
// A column's whole value as text, read in pieces so any length arrives;
// `isNull` tells a NULL apart from empty text.
SQLRETURN columnText(SQLHSTMT statement, SQLUSMALLINT column, std::string& value, bool& isNull);

inline bool succeeded(SQLRETURN result) {
    return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

}  // namespace tessaron::odbc
