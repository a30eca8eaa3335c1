#include "MariaDbSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "StageTestSupport.h"
#include "database/ConnectionString.h"

namespace tessaron::testing {

std::optional<TestServer> TestServer::fromEnvironment() {
    auto variable = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value ? value : "";
    };
    TestServer server{variable("TESSARON_TEST_DB_HOST"), variable("TESSARON_TEST_DB_PORT"),
                      variable("TESSARON_TEST_DB_USER"), variable("TESSARON_TEST_DB_PASSWORD")};
    if (server.port.empty()) return std::nullopt;
    if (server.host.empty()) server.host = "127.0.0.1";
    return server;
}

std::string TestServer::connectionString(const std::string& database) const {
    return "DRIVER={MySQL ODBC 3.51 Driver};Server=" + serverAddress() + ";Database=" + database +
           ";UID=" + connectionStringValue(user) + ";pwd=" + connectionStringValue(password) + ";";
}

FreshDatabase::FreshDatabase(const TestServer& server, const std::string& purpose)
    : server_(server) {
    static std::atomic<int> counter{0};
    name_ = "t_" + purpose + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    admin_ = odbc_.Open(server.connectionString(""));
    admin_->Execute("CREATE DATABASE `" + name_ + "`");
    admin_->Execute("USE `" + name_ + "`");
}

FreshDatabase::~FreshDatabase() {
    try {
        admin_->Execute("DROP DATABASE IF EXISTS `" + name_ + "`");
    } catch (const PlatformError&) {
        // The server is thrown away after the run; a leftover database harms nothing.
    }
}

SettingsRecord FreshDatabase::mySqlSettings() const {
    SettingsRecord settings = sampleSettings({kSeedValues});
    settings.MainSQLServerType = "MySQL";
    settings.MainDatabaseIP = server_.serverAddress();
    settings.MainDatabaseName = name_;
    settings.MainDatabaseUsername = server_.user;
    settings.MainDatabasePassword = server_.password;
    return settings;
}

}  // namespace tessaron::testing
