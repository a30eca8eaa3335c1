// Connection failures through the real driver manager and drivers: the
// stage's error line quotes the driver's own text.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <regex>

#include "MariaDbSupport.h"
#include "StageTestSupport.h"
#include "database/DatabaseStage.h"

namespace tessaron {
namespace {

using testing::StageRun;
using testing::TestServer;

// A loopback port on which nothing listens.
std::string closedPort() {
#ifdef _WIN32
    WSADATA winsock;
    WSAStartup(MAKEWORD(2, 2), &winsock);
    using socklen_t = int;
    const auto close = [](SOCKET socket) { closesocket(socket); };
#endif
    auto fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return std::to_string(ntohs(address.sin_port));
}

class ConnectionFailure : public ::testing::Test {
protected:
    void SetUp() override {
        server = TestServer::fromEnvironment();
        if (!server) GTEST_SKIP() << testing::kNoTestServer;
    }
    SettingsRecord settings(const std::string& type, const std::string& address,
                            const std::string& password) const {
        SettingsRecord record = testing::sampleSettings({testing::kSeedValues});
        record.MainSQLServerType = type;
        record.MainDatabaseIP = address;
        record.MainDatabaseName = "tessaron";
        record.MainDatabaseUsername = server->user;
        record.MainDatabasePassword = password;
        return record;
    }
    std::optional<TestServer> server;
    OdbcDatabase odbc;
};

// The driver's version sits in its prefix ("[ma-3.1.15]"); the rest of the
// line is matched exactly.
TEST_F(ConnectionFailure, TheErrorLineQuotesTheDriversText) {
    struct Case {
        std::string type, address, password, expectedLine;
    };
    const std::string port = closedPort();
    const Case cases[] = {
        {"MySQL", server->serverAddress(), "wrong",
         R"(ERROR: Could not establish a connection to main MySQL database: )"
         R"(\[ma-[0-9.]+\]Access denied for user 'tessaron'@'localhost' \(using password: YES\))"},
        {"MySQL", "127.0.0.1;Port=" + port, server->password,
         R"(ERROR: Could not establish a connection to main MySQL database: )"
         R"(\[ma-[0-9.]+\]Can't connect to server on '127\.0\.0\.1' \([0-9]+\))"},
        {"SQL Server", "127.0.0.1;Port=" + port, server->password,
         R"(ERROR: Could not establish a connection to main SQL Server database: )"
         R"(\[FreeTDS\]\[SQL Server\]Unable to connect: Adaptive Server is unavailable or )"
         R"(does not exist)"},
        // Neither dialect: no driver part, so the driver manager finds none.
        {"Oracle", server->serverAddress(), server->password,
         R"(ERROR: Could not establish a connection to main Oracle database: )"
         R"(\[unixODBC\]\[Driver Manager\]Data source name not found and no default driver )"
         R"(specified)"},
    };
    for (const auto& c : cases) {
        StageRun stage(odbc, settings(c.type, c.address, c.password));
        runDatabaseStage(stage.run);
        auto lines = stage.lines();
        ASSERT_EQ(lines.size(), 2u) << c.type;
        EXPECT_EQ(lines[0], "Beginning database initialization...");
        EXPECT_TRUE(std::regex_match(lines[1], std::regex(c.expectedLine))) << lines[1];
        EXPECT_TRUE(stage.run.RunError);
        EXPECT_FALSE(stage.run.failure.failed());
    }
}

TEST_F(ConnectionFailure, NeitherDialectStopsAfterConnectingWithoutCreatingAnything) {
    // An administrator may name the driver in the address; the stage then
    // connects but creates nothing for a type it does not know.
    testing::FreshDatabase db(*server, "nodialect");
    SettingsRecord record = db.mySqlSettings();
    record.MainSQLServerType = "Other";
    record.MainDatabaseIP = "127.0.0.1;DRIVER={MySQL ODBC 3.51 Driver};Port=" + server->port;
    StageRun stage(odbc, record);
    runDatabaseStage(stage.run);
    EXPECT_EQ(stage.lines(), (std::vector<std::string>{"Beginning database initialization...",
                                                       "Connection to server established."}));
    EXPECT_FALSE(stage.run.RunError);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM information_schema.TABLES WHERE "
                        "TABLE_SCHEMA = DATABASE()"),
              0);
}

TEST_F(ConnectionFailure, UnknownDriverNameIsTheDriverManagersText) {
    try {
        odbc.Open("DRIVER={MySQL ODBC 9.9 Driver};Server=127.0.0.1;Database=x;UID=u;pwd=p;");
        FAIL() << "opened a connection through a driver that is not registered";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.description(),
                  "[unixODBC][Driver Manager]Can't open lib 'MySQL ODBC 9.9 Driver' : file not "
                  "found");
        EXPECT_EQ(error.number(), error_number::kDatabaseFailure);
    }
}

using OdbcQueries = ConnectionFailure;

TEST_F(OdbcQueries, ReportTheServersTextAndMissingColumnsOrRows) {
    testing::FreshDatabase db(*server, "queries");
    auto connection = odbc.Open(server->connectionString(db.name()));
    connection->Execute("CREATE TABLE t (n int, s varchar(10))");
    connection->Execute("INSERT INTO t VALUES (42, 'forty-two')");
    EXPECT_EQ(connection->QueryNumber("SELECT n AS Total FROM t", "total"), 42);
    EXPECT_EQ(connection->QueryText("SELECT s AS Name FROM t", "Name"), "forty-two");
    EXPECT_EQ(connection->QueryText("SELECT REPEAT('x', 10000) AS Wide", "Wide"),
              std::string(10000, 'x'));
    // A statement that matches no row is no failure.
    EXPECT_NO_THROW(connection->Execute("DELETE FROM t WHERE n = 0"));

    auto description = [&](auto operation) -> std::string {
        try {
            operation();
        } catch (const PlatformError& error) {
            return error.description();
        }
        return "(no failure)";
    };
    EXPECT_TRUE(
        std::regex_match(description([&] { connection->Execute("CREATE TABLE t (n int)"); }),
                         std::regex(R"(\[ma-[0-9.]+\]\[[^\]]+\]Table 't' already exists)")));
    EXPECT_EQ(description([&] { connection->QueryNumber("SELECT n AS Total FROM t", "Count"); }),
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    EXPECT_EQ(
        description([&] { connection->QueryNumber("SELECT n AS Total FROM t WHERE 0", "Total"); }),
        "Either BOF or EOF is True, or the current record has been deleted. Requested "
        "operation requires a current record.");
}

}  // namespace
}  // namespace tessaron
