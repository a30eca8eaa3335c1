#pragma once

#include <string>

#include "platform/Failure.h"
#include "platform/odbc/OdbcCalls.h"

namespace tessaron::odbc {

// The text of the first diagnostic record of a handle, as the driver (or the
// driver manager) gave it; a fallback text when the handle holds none.
std::string diagnosticText(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback);

// The error a failed call on the handle turns into. The number is the one a
// database access component reports for provider errors.
PlatformError failure(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback);

}  // namespace tessaron::odbc
