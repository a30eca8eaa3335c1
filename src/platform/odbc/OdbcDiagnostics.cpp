#include "platform/odbc/OdbcDiagnostics.h"

namespace tessaron::odbc {

Diagnostic firstDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    if (handle == SQL_NULL_HANDLE) return {fallback, {}, 0};
    Diagnostic diagnostic;
    if (!succeeded(diagnosticRecord(handleType, handle, 1, diagnostic.text, diagnostic.sqlState,
                                    diagnostic.nativeError)) ||
        diagnostic.text.empty()) {
        return {fallback, {}, 0};
    }
    return diagnostic;
}

DatabaseError failure(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    auto diagnostic = firstDiagnostic(handleType, handle, fallback);
    return DatabaseError(std::move(diagnostic.text), std::move(diagnostic.sqlState),
                         diagnostic.nativeError);
}

}  // namespace tessaron::odbc
