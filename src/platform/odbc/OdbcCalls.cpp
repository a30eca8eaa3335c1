#include "platform/odbc/OdbcCalls.h"

#include <algorithm>
#include <vector>

#ifdef _WIN32
#include "platform/WideText.h"
#endif

namespace tessaron::odbc {
namespace {

#ifdef _WIN32
using Unit = SQLWCHAR;
constexpr SQLSMALLINT kTextType = SQL_C_WCHAR;
std::basic_string<Unit> toDriver(const std::string& text) {
    const auto wide = toWide(text);
    return std::basic_string<Unit>(wide.begin(), wide.end());
}
std::string fromDriver(const Unit* text, std::size_t length) {
    return fromWide(std::wstring_view(reinterpret_cast<const wchar_t*>(text), length));
}
#else
using Unit = SQLCHAR;
constexpr SQLSMALLINT kTextType = SQL_C_CHAR;
std::basic_string<Unit> toDriver(const std::string& text) {
    return std::basic_string<Unit>(text.begin(), text.end());
}
std::string fromDriver(const Unit* text, std::size_t length) {
    return std::string(reinterpret_cast<const char*>(text), length);
}
#endif

// Units in `units` that a call reported, without the terminating NUL.
std::size_t reported(SQLSMALLINT length, std::size_t capacity) {
    if (length <= 0) return 0;
    return std::min<std::size_t>(static_cast<std::size_t>(length), capacity - 1);
}

}  // namespace

SQLRETURN driverConnect(SQLHDBC connection, const std::string& connectionString) {
    auto text = toDriver(connectionString);
    std::vector<Unit> completed(1024);
    SQLSMALLINT completedLength = 0;
#ifdef _WIN32
    return SQLDriverConnectW(
        connection, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()), completed.data(),
        static_cast<SQLSMALLINT>(completed.size()), &completedLength, SQL_DRIVER_NOPROMPT);
#else
    return SQLDriverConnect(connection, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                            completed.data(), static_cast<SQLSMALLINT>(completed.size()),
                            &completedLength, SQL_DRIVER_NOPROMPT);
#endif
}

SQLRETURN execDirect(SQLHSTMT statement, const std::string& text) {
    auto units = toDriver(text);
#ifdef _WIN32
    return SQLExecDirectW(statement, units.data(), static_cast<SQLINTEGER>(units.size()));
#else
    return SQLExecDirect(statement, units.data(), static_cast<SQLINTEGER>(units.size()));
#endif
}

SQLRETURN columnLabel(SQLHSTMT statement, SQLUSMALLINT column, std::string& label) {
    Unit units[256] = {};
    SQLSMALLINT bytes = 0;
#ifdef _WIN32
    const SQLRETURN result =
        SQLColAttributeW(statement, column, SQL_DESC_LABEL, units, sizeof units, &bytes, nullptr);
#else
    const SQLRETURN result =
        SQLColAttribute(statement, column, SQL_DESC_LABEL, units, sizeof units, &bytes, nullptr);
#endif
    if (succeeded(result)) {
        // The length is in bytes; the label ends at its NUL within the buffer.
        const std::size_t capacity = sizeof units / sizeof units[0];
        std::size_t length = 0;
        while (length < capacity - 1 && units[length] != 0) ++length;
        label = fromDriver(units, length);
    }
    return result;
}

SQLRETURN diagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record,
                           std::string& message, std::string& sqlState, long& nativeError) {
    Unit state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<Unit> units(1024);
    const auto call = [&] {
#ifdef _WIN32
        return SQLGetDiagRecW(handleType, handle, record, state, &native, units.data(),
                              static_cast<SQLSMALLINT>(units.size()), &length);
#else
        return SQLGetDiagRec(handleType, handle, record, state, &native, units.data(),
                             static_cast<SQLSMALLINT>(units.size()), &length);
#endif
    };
    SQLRETURN result = call();
    if (result == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(units.size())) {
        // The message was cut; read it again with room for all of it.
        units.resize(static_cast<std::size_t>(length) + 1);
        result = call();
    }
    if (succeeded(result)) {
        message = fromDriver(units.data(), reported(length, units.size()));
        std::size_t stateLength = 0;
        while (stateLength < 5 && state[stateLength] != 0) ++stateLength;
        sqlState = fromDriver(state, stateLength);
        nativeError = static_cast<long>(native);
    }
    return result;
}

SQLRETURN columnText(SQLHSTMT statement, SQLUSMALLINT column, std::string& value, bool& isNull) {
    std::basic_string<Unit> collected;
    std::vector<Unit> buffer(4096);
    isNull = false;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN result =
            SQLGetData(statement, column, kTextType, buffer.data(),
                       static_cast<SQLLEN>(buffer.size() * sizeof(Unit)), &indicator);
        if (result == SQL_NO_DATA) break;
        if (!succeeded(result)) return result;
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            value.clear();
            return result;
        }
        const std::size_t room = buffer.size() - 1;  // the driver ends each piece with a NUL
        const std::size_t piece =
            (indicator == SQL_NO_TOTAL || indicator > static_cast<SQLLEN>(room * sizeof(Unit)))
                ? room
                : static_cast<std::size_t>(indicator) / sizeof(Unit);
        collected.append(buffer.data(), piece);
        if (result == SQL_SUCCESS) break;
    }
    value = fromDriver(collected.data(), collected.size());
    return SQL_SUCCESS;
}

}  // namespace tessaron::odbc
