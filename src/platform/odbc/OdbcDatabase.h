#pragma once

#include "platform/Database.h"

namespace tessaron {

// The database service over the ODBC driver manager.
class OdbcDatabase : public Database {
public:
    std::unique_ptr<DatabaseConnection> Open(const std::string& connectionString) override;
};

}  // namespace tessaron
