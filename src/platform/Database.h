#pragma once

#include <memory>
#include <string>

#include "platform/Failure.h"

namespace tessaron {

// A failed statement as the driver reported it: besides the description, the
// five-character SQLSTATE ("42S01") and the server's own error number (1050),
// which tell a table that exists from a refused statement.
class DatabaseError : public PlatformError {
public:
    DatabaseError(std::string description, std::string sqlState, long nativeError)
        : PlatformError(error_number::kDatabaseFailure, std::move(description)),
          sqlState_(std::move(sqlState)),
          nativeError_(nativeError) {}

    const std::string& sqlState() const { return sqlState_; }
    long nativeError() const { return nativeError_; }

private:
    std::string sqlState_;
    long nativeError_;
};

// An open database connection. Every operation throws PlatformError with the
// driver's own diagnostic text on failure.
class DatabaseConnection {
public:
    virtual ~DatabaseConnection() = default;
    // Executes one statement, outside any transaction.
    virtual void Execute(const std::string& statement) = 0;
    // Runs a query and reads the named column of its first row as a number;
    // the result is closed before returning.
    virtual long long QueryNumber(const std::string& query, const std::string& column) = 0;
    // Runs a query and reads the named column of its first row as text.
    virtual std::string QueryText(const std::string& query, const std::string& column) = 0;
};

// Opens connections from ODBC connection strings.
class Database {
public:
    virtual ~Database() = default;
    virtual std::unique_ptr<DatabaseConnection> Open(const std::string& connectionString) = 0;
};

}  // namespace tessaron
