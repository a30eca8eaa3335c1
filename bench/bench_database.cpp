// The database stage against the local MariaDB server, next to the mariadb
// command-line client executing the same statements from a file. Both start
// from an empty database and include connecting; the figures are wall-clock
// times per complete initialisation.
//
//   eval "$(scripts/test-mariadb.sh start)"
//   build/bench/bench_database [ITERATIONS]
//   scripts/test-mariadb.sh stop "$TESSARON_TEST_DB_STATE"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numeric>
#include <string>
#include <vector>

#include "database/ConnectionString.h"
#include "database/DatabaseStage.h"
#include "platform/Platform.h"
#include "platform/odbc/OdbcDatabase.h"
#include "runcontext/ProgressLog.h"
#include "runcontext/RunContext.h"

namespace {

using namespace tessaron;
using Clock = std::chrono::steady_clock;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Passes every call on and keeps the statement texts in order.
class RecordingDatabase : public Database {
public:
    explicit RecordingDatabase(Database& inner) : inner_(inner) {}
    std::vector<std::string> statements;

    std::unique_ptr<DatabaseConnection> Open(const std::string& connectionString) override {
        return std::make_unique<Connection>(inner_.Open(connectionString), statements);
    }

private:
    struct Connection : DatabaseConnection {
        Connection(std::unique_ptr<DatabaseConnection> inner, std::vector<std::string>& log)
            : inner(std::move(inner)), log(log) {}
        void Execute(const std::string& statement) override {
            log.push_back(statement);
            inner->Execute(statement);
        }
        long long QueryNumber(const std::string& query, const std::string& column) override {
            log.push_back(query);
            return inner->QueryNumber(query, column);
        }
        std::string QueryText(const std::string& query, const std::string& column) override {
            log.push_back(query);
            return inner->QueryText(query, column);
        }
        std::unique_ptr<DatabaseConnection> inner;
        std::vector<std::string>& log;
    };
    Database& inner_;
};

class DatabaseOnlyPlatform : public Platform {
public:
    explicit DatabaseOnlyPlatform(Database& database) : database_(database) {}
    SystemQueries& System() override { throw PlatformError("not used"); }
    Wmi& Management() override { throw PlatformError("not used"); }
    FileSystem& Files() override { throw PlatformError("not used"); }
    Metabase& Iis() override { throw PlatformError("not used"); }
    Database& Databases() override { return database_; }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override {
        throw PlatformError("not used");
    }
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds) override {
        throw PlatformError("not used");
    }

private:
    Database& database_;
};

struct Server {
    std::string host, port, user, password;
};

SettingsRecord settingsFor(const Server& server, const std::string& database) {
    SettingsRecord settings;
    settings.MainSQLServerType = "MySQL";
    settings.MainDatabaseIP = server.host + ";Port=" + server.port;
    settings.MainDatabaseName = database;
    settings.MainDatabaseUsername = server.user;
    settings.MainDatabasePassword = server.password;
    settings.ServerName = "WEB01";
    settings.ServerIP = "192.0.2.10";
    settings.InternalIP = "10.0.0.10";
    settings.AdminUsername = "admin";
    settings.AdminPassword = "secret";
    settings.MainContactEmail = "owner@example.com";
    settings.AdminEmail = "tickets@example.com";
    settings.DefaultPrimaryDNS = "ns1.example.com";
    settings.DefaultPrimaryDNSIP = "192.0.2.53";
    settings.DefaultSecondaryDNS = "ns2.example.com";
    settings.DefaultSecondaryDNSIP = "192.0.2.54";
    return settings;
}

// Runs the stage once; returns the log for checking.
std::vector<std::string> runStage(Database& database, const Server& server,
                                  const std::string& name) {
    SettingsRecord settings = settingsFor(server, name);
    InstallOptions options;
    options.InitializeDatabase = true;
    DatabaseOnlyPlatform platform(database);
    ProgressLog log;
    RunContext run(settings, options, platform, log);
    runDatabaseStage(run);
    return log.entries();
}

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void summarise(const char* label, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    double mean = std::accumulate(times.begin(), times.end(), 0.0) / times.size();
    std::printf("%-28s median %8.2f ms   min %8.2f ms   mean %8.2f ms   max %8.2f ms\n", label,
                times[times.size() / 2], times.front(), mean, times.back());
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    Server server{environment("TESSARON_TEST_DB_HOST"), environment("TESSARON_TEST_DB_PORT"),
                  environment("TESSARON_TEST_DB_USER"), environment("TESSARON_TEST_DB_PASSWORD")};
    if (server.port.empty()) {
        std::cerr << "bench_database: start the test server first: "
                     "eval \"$(scripts/test-mariadb.sh start)\"\n";
        return 2;
    }
    if (server.host.empty()) server.host = "127.0.0.1";
    int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string client = environment("TESSARON_BENCH_CLIENT");
    if (client.empty()) client = "mariadb";

    OdbcDatabase odbc;
    auto admin =
        odbc.Open("DRIVER={MySQL ODBC 3.51 Driver};Server=" + server.host + ";Port=" + server.port +
                  ";Database=;UID=" + connectionStringValue(server.user) +
                  ";pwd=" + connectionStringValue(server.password) + ";");
    int counter = 0;
    auto freshDatabase = [&] {
        std::string name = "bench_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        admin->Execute("CREATE DATABASE `" + name + "`");
        return name;
    };
    auto dropDatabase = [&](const std::string& name) {
        admin->Execute("DROP DATABASE `" + name + "`");
    };

    // The statements the stage sends, recorded once, make the client's file.
    RecordingDatabase recorder(odbc);
    std::string first = freshDatabase();
    auto lines = runStage(recorder, server, first);
    dropDatabase(first);
    if (lines.empty() || lines.back() != "Tessaron database created.") {
        std::cerr << "bench_database: the stage did not complete:\n";
        for (const auto& line : lines) std::cerr << "  " << line << "\n";
        return 1;
    }
    std::string file = "/tmp/bench_database_" + std::to_string(getpid()) + ".sql";
    {
        std::ofstream out(file, std::ios::binary);
        for (const auto& statement : recorder.statements) out << statement << ";\n";
    }
    setenv("MYSQL_PWD", server.password.c_str(), 1);

    std::vector<double> stageTimes, clientTimes;
    for (int i = 0; i < iterations; ++i) {
        // Alternate which goes first, so neither always meets a warmer server.
        for (int turn = 0; turn < 2; ++turn) {
            std::string name = freshDatabase();
            bool stageTurn = (turn == 0) == (i % 2 == 0);
            auto start = Clock::now();
            if (stageTurn) {
                runStage(odbc, server, name);
                stageTimes.push_back(milliseconds(Clock::now() - start));
            } else {
                std::string command = client + " --no-defaults --protocol=tcp -h " + server.host +
                                      " -P " + server.port + " -u " + server.user + " " + name +
                                      " < " + file + " > /dev/null";
                if (std::system(command.c_str()) != 0) {
                    std::cerr << "bench_database: the client failed: " << command << "\n";
                    return 1;
                }
                clientTimes.push_back(milliseconds(Clock::now() - start));
            }
            dropDatabase(name);
        }
    }
    std::remove(file.c_str());

    std::printf("database initialisation, %zu statements, %d iterations each\n",
                recorder.statements.size(), iterations);
    summarise("stage (ODBC)", stageTimes);
    summarise("mariadb client from file", clientTimes);
    std::printf("ratio stage / client (medians): %.2f (target at most 1.20)\n",
                median(stageTimes) / median(clientTimes));
    return 0;
}
