#include "platform/odbc/OdbcDatabase.h"

#include "platform/Failure.h"

namespace tessaron {

std::unique_ptr<DatabaseConnection> OdbcDatabase::Open(const std::string&) {
    throw PlatformError(error_number::kDatabaseFailure, "not implemented yet");
}

}  // namespace tessaron
