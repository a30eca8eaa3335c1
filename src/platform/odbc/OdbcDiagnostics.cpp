#include "platform/odbc/OdbcDiagnostics.h"

namespace tessaron::odbc {

std::string diagnosticText(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    if (handle == SQL_NULL_HANDLE) return fallback;
    std::string message;
    if (!succeeded(diagnosticMessage(handleType, handle, 1, message)) || message.empty()) {
        return fallback;
    }
    return message;
}

PlatformError failure(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    return PlatformError(error_number::kDatabaseFailure,
                         diagnosticText(handleType, handle, fallback));
}

}  // namespace tessaron::odbc
