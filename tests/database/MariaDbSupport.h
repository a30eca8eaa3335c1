#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/odbc/OdbcDatabase.h"
#include "settings/SettingsRecord.h"

namespace tessaron::testing {

// The throw-away MariaDB server of scripts/test-mariadb.sh, as its exported
// variables describe it.
struct TestServer {
    std::string host, port, user, password;

    static std::optional<TestServer> fromEnvironment();

    // Server address as an administrator writes it, with the port added.
    std::string serverAddress() const { return host + ";Port=" + port; }
    std::string connectionString(const std::string& database) const;
};

inline constexpr const char* kNoTestServer =
    "TESSARON_TEST_DB_PORT is not set: start the test server with "
    "eval \"$(scripts/test-mariadb.sh start)\"";

// A database of its own for one test, dropped when the test ends. Holds an
// administrative connection for checking what the stage left behind.
class FreshDatabase {
public:
    FreshDatabase(const TestServer& server, const std::string& purpose);
    ~FreshDatabase();

    const std::string& name() const { return name_; }
    DatabaseConnection& admin() { return *admin_; }
    // The first row's column C of a query, as text.
    std::string text(const std::string& query) { return admin_->QueryText(query, "C"); }
    long long number(const std::string& query) { return admin_->QueryNumber(query, "C"); }
    // How many tables the database holds.
    long long tables() {
        return number("SELECT COUNT(*) AS C FROM information_schema.tables WHERE table_schema = '" +
                      name_ + "'");
    }

    // MySQL settings of a typical administrator aimed at this database.
    SettingsRecord mySqlSettings() const;

private:
    const TestServer& server_;
    OdbcDatabase odbc_;
    std::string name_;
    std::unique_ptr<DatabaseConnection> admin_;
};

}  // namespace tessaron::testing
