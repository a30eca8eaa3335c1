#include "platform/odbc/OdbcDiagnostics.h"

#include <vector>

namespace tessaron::odbc {

Diagnostic firstDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    if (handle == SQL_NULL_HANDLE) return {fallback, {}, 0};
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLCHAR> message(1024);
    SQLRETURN result = SQLGetDiagRec(handleType, handle, 1, state, &nativeError, message.data(),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
    if (result == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
        // The message was cut; read it again with room for all of it.
        message.resize(static_cast<std::size_t>(length) + 1);
        result = SQLGetDiagRec(handleType, handle, 1, state, &nativeError, message.data(),
                               static_cast<SQLSMALLINT>(message.size()), &length);
    }
    if (!succeeded(result) || length <= 0) return {fallback, {}, 0};
    std::size_t size = std::min<std::size_t>(static_cast<std::size_t>(length), message.size() - 1);
    return {std::string(reinterpret_cast<const char*>(message.data()), size),
            std::string(reinterpret_cast<const char*>(state)), static_cast<long>(nativeError)};
}

std::string diagnosticText(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    return firstDiagnostic(handleType, handle, fallback).text;
}

DatabaseError failure(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback) {
    auto diagnostic = firstDiagnostic(handleType, handle, fallback);
    return DatabaseError(std::move(diagnostic.text), std::move(diagnostic.sqlState),
                         diagnostic.nativeError);
}

}  // namespace tessaron::odbc
