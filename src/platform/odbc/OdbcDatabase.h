#pragma once

#include <memory>

#include "platform/Database.h"

namespace tessaron {

// The database service over the ODBC driver manager. Connections are opened
// with SQLDriverConnect from the connection string as given; every failure
// carries the first diagnostic record's text exactly as the driver manager or
// the driver wrote it.
class OdbcDatabase : public Database {
public:
    OdbcDatabase();
    ~OdbcDatabase() override;

    std::unique_ptr<DatabaseConnection> Open(const std::string& connectionString) override;

    // How long a login may take before the driver gives up (see
    // BoundedConnect.h for the other bounds).
    static constexpr unsigned long kLoginTimeoutSeconds = 15;

    struct Environment;

private:
    std::shared_ptr<Environment> environment_;
};

}  // namespace tessaron
