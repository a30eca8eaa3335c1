#pragma once

#include <memory>
#include <string>

namespace tessaron {

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
