#pragma once

#include <string>

#include "platform/Database.h"
#include "platform/odbc/OdbcCalls.h"

namespace tessaron::odbc {

// The first diagnostic record of a handle, as the driver (or the driver
// manager) gave it.
struct Diagnostic {
    std::string text;
    std::string sqlState;  // empty when the handle holds no record
    long nativeError = 0;
};
// The record; the fallback text (and no state) when the handle holds none.
Diagnostic firstDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback);

// The error a failed call on the handle turns into. The number is the one a
// database access component reports for provider errors.
DatabaseError failure(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback);

}  // namespace tessaron::odbc
