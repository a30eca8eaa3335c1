#include "platform/odbc/OdbcDatabase.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/odbc/BoundedConnect.h"
#include "platform/odbc/OdbcDiagnostics.h"

namespace tessaron {

using odbc::failure;
using odbc::succeeded;

// One ODBC environment (ODBC 3 behaviour) shared by every connection opened
// from it; it lives as long as the last of them.
struct OdbcDatabase::Environment {
    SQLHENV handle = SQL_NULL_HENV;

    Environment() {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle))) {
            handle = SQL_NULL_HENV;
            throw PlatformError(error_number::kDatabaseFailure,
                                "The ODBC driver manager could not allocate an environment.");
        }
        if (!succeeded(SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
            PlatformError error =
                failure(SQL_HANDLE_ENV, handle, "The ODBC driver manager refused ODBC version 3.");
            SQLFreeHandle(SQL_HANDLE_ENV, handle);
            handle = SQL_NULL_HENV;
            throw error;
        }
    }
    ~Environment() {
        if (handle != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, handle);
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
};

namespace {

constexpr long kItemNotFound = 3265;
constexpr long kNoCurrentRecord = 3021;
constexpr long kInvalidUseOfNull = 94;

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A statement handle that is freed (closing any open result) when it goes.
class Statement {
public:
    explicit Statement(SQLHDBC connection) {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle_))) {
            handle_ = SQL_NULL_HSTMT;
            throw failure(SQL_HANDLE_DBC, connection, "Could not allocate a statement.");
        }
        // No statement may wait for ever on a server that stopped answering.
        SQLSetStmtAttr(handle_, SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(odbc::kQueryTimeoutSeconds), 0);
    }
    ~Statement() {
        if (handle_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void execute(const std::string& text) {
        SQLRETURN result = odbc::execDirect(handle_, text);
        // SQL_NO_DATA: a searched UPDATE or DELETE that touched no row.
        if (!succeeded(result) && result != SQL_NO_DATA) {
            throw failure(SQL_HANDLE_STMT, handle_, "The statement failed.");
        }
    }

    // The 1-based number of the result column with the given name.
    SQLUSMALLINT column(const std::string& name) {
        SQLSMALLINT count = 0;
        if (!succeeded(SQLNumResultCols(handle_, &count))) {
            throw failure(SQL_HANDLE_STMT, handle_, "The query returned no columns.");
        }
        for (SQLSMALLINT number = 1; number <= count; ++number) {
            std::string text;
            if (!succeeded(odbc::columnLabel(handle_, static_cast<SQLUSMALLINT>(number), text))) {
                continue;
            }
            if (sameNameIgnoringCase(text, name)) return static_cast<SQLUSMALLINT>(number);
        }
        throw PlatformError(kItemNotFound,
                            "Item cannot be found in the collection corresponding to the "
                            "requested name or ordinal.");
    }

    void fetchFirstRow() {
        SQLRETURN result = SQLFetch(handle_);
        if (result == SQL_NO_DATA) {
            throw PlatformError(kNoCurrentRecord,
                                "Either BOF or EOF is True, or the current record has been "
                                "deleted. Requested operation requires a current record.");
        }
        if (!succeeded(result)) throw failure(SQL_HANDLE_STMT, handle_, "The fetch failed.");
    }

    long long number(SQLUSMALLINT column) {
        SQLBIGINT value = 0;
        SQLLEN indicator = 0;
        if (!succeeded(
                SQLGetData(handle_, column, SQL_C_SBIGINT, &value, sizeof value, &indicator))) {
            throw failure(SQL_HANDLE_STMT, handle_, "The value could not be read as a number.");
        }
        if (indicator == SQL_NULL_DATA)
            throw PlatformError(kInvalidUseOfNull, "Invalid use of Null");
        return static_cast<long long>(value);
    }

    // Text of a column; NULL reads as empty text. Read in pieces so any
    // length arrives whole.
    std::string text(SQLUSMALLINT column) {
        std::string value;
        bool isNull = false;
        if (!succeeded(odbc::columnText(handle_, column, value, isNull))) {
            throw failure(SQL_HANDLE_STMT, handle_, "The value could not be read as text.");
        }
        return value;
    }

private:
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

class OdbcConnection : public DatabaseConnection {
public:
    OdbcConnection(std::shared_ptr<OdbcDatabase::Environment> environment, SQLHDBC handle)
        : environment_(std::move(environment)), handle_(handle) {}
    ~OdbcConnection() override {
        SQLDisconnect(handle_);
        SQLFreeHandle(SQL_HANDLE_DBC, handle_);
    }
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    void Execute(const std::string& statement) override {
        Statement handle(handle_);
        handle.execute(statement);
    }

    long long QueryNumber(const std::string& query, const std::string& column) override {
        Statement handle(handle_);
        handle.execute(query);
        SQLUSMALLINT number = handle.column(column);
        handle.fetchFirstRow();
        return handle.number(number);
    }

    std::string QueryText(const std::string& query, const std::string& column) override {
        Statement handle(handle_);
        handle.execute(query);
        SQLUSMALLINT number = handle.column(column);
        handle.fetchFirstRow();
        return handle.text(number);
    }

private:
    std::shared_ptr<OdbcDatabase::Environment> environment_;
    SQLHDBC handle_;
};

}  // namespace

OdbcDatabase::OdbcDatabase() = default;
OdbcDatabase::~OdbcDatabase() = default;

std::unique_ptr<DatabaseConnection> OdbcDatabase::Open(const std::string& connectionString) {
    if (connectionString.size() > 32767) {
        throw PlatformError(error_number::kDatabaseFailure, "The connection string is too long.");
    }
    if (!environment_) environment_ = std::make_shared<Environment>();

    SQLHDBC connection = SQL_NULL_HDBC;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, environment_->handle, &connection))) {
        throw failure(SQL_HANDLE_ENV, environment_->handle, "Could not allocate a connection.");
    }
    SQLSetConnectAttr(connection, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
    SQLSetConnectAttr(connection, SQL_ATTR_CONNECTION_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(odbc::kReadWriteTimeoutSeconds), 0);

    // Past the bound the handle belongs to the abandoned call, which frees it.
    const SQLRETURN result = odbc::boundedDriverConnect(
        connection, odbc::withDriverTimeouts(connectionString), environment_);
    if (!succeeded(result)) {
        PlatformError error = failure(SQL_HANDLE_DBC, connection, "The connection failed.");
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        throw error;
    }
    return std::make_unique<OdbcConnection>(environment_, connection);
}

}  // namespace tessaron
