#include "database/DatabaseStage.h"

#include <ctime>
#include <memory>

#include "database/ConnectionString.h"
#include "database/InitialRows.h"
#include "database/MySqlSchema.h"
#include "database/SqlServerSchema.h"

namespace tessaron {

namespace {

// One open connection and how the stage writes literals on it.
struct StageConnection {
    RunContext& run;
    DatabaseConnection& database;
    LiteralStyle literals;

    // Runs a statement whose failure the stage ignores. The failure is
    // cleared at once so it is never taken for a later step's failure.
    void executeIgnoringFailure(const std::string& statement) {
        run.attempt([&] { database.Execute(statement); });
        run.failure.clear();
    }
};

std::tm localTime(const RunContext& run) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(run.now());
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

// The server's row in the IP table, unless the address is listed already. A
// failed query counts as "not listed".
void addIpRow(StageConnection& connection, SqlDialect dialect) {
    const SettingsRecord& settings = connection.run.settings;
    auto total = connection.run.attempt([&] {
        return connection.database.QueryNumber(IpCountQuery(dialect, settings, connection.literals),
                                               "Total");
    });
    connection.run.failure.clear();
    if (!total || *total == 0) {
        connection.executeIgnoringFailure(IpInsertStatement(settings, connection.literals));
    }
}

void addResellerRow(StageConnection& connection, SqlDialect dialect) {
    std::tm now = localTime(connection.run);
    std::string timestamp =
        dialect == SqlDialect::MySql ? MySqlTimestamp(now) : SqlServerTimestamp(now);
    connection.executeIgnoringFailure(
        ResellerInsertStatement(dialect, connection.run.settings, timestamp, connection.literals));
}

void runSqlServerSequence(StageConnection& connection) {
    RunContext& run = connection.run;
    run.AddProgressText("Creating tables...");
    for (const auto& table : SqlServerTables()) {
        run.attempt([&] { connection.database.Execute(SqlServerCreateStatement(table)); });
        if (run.failure.failed()) {
            run.AddProgressText("Could not add " + std::string(table.name) +
                                " table; table may already exist.");
            run.failure.clear();
            continue;
        }
        for (const auto& seed : SqlServerSeedStatements(table.name)) {
            connection.executeIgnoringFailure(seed);
        }
    }

    run.AddProgressText("Making necessary modifications...");
    for (const auto& statement : SqlServerAlterStatements()) {
        connection.executeIgnoringFailure(statement);
    }

    run.AddProgressText("Populating database with initial data..");
    addIpRow(connection, SqlDialect::SqlServer);
    addResellerRow(connection, SqlDialect::SqlServer);
    run.AddProgressText("Tessaron database created.");
}

// MySQL reads backslashes in literals as escapes unless the session says
// otherwise; when the mode cannot be read, the server default (escapes on)
// is assumed.
LiteralStyle mySqlLiteralStyle(RunContext& run, DatabaseConnection& database) {
    auto mode = run.attempt(
        [&] { return database.QueryText("SELECT @@SESSION.sql_mode AS Mode", "Mode"); });
    run.failure.clear();
    return LiteralStyle{.backslashEscapes = !mode || !SqlModeDisablesBackslashEscapes(*mode)};
}

void runMySqlSequence(StageConnection& connection) {
    RunContext& run = connection.run;
    connection.literals = mySqlLiteralStyle(run, connection.database);

    run.AddProgressText("Creating tables...");
    for (const auto& statement : MySqlCreateStatements()) {
        connection.executeIgnoringFailure(statement);
    }

    run.AddProgressText("Populating database with initial data...");
    addIpRow(connection, SqlDialect::MySql);
    connection.executeIgnoringFailure(MySqlAccountTypesSeed());
    addResellerRow(connection, SqlDialect::MySql);
    for (const auto& statement : MySqlSubjectsSeed()) {
        connection.executeIgnoringFailure(statement);
    }
    connection.executeIgnoringFailure(MySqlVersionRow());
    run.AddProgressText("Tessaron database created.");
}

}  // namespace

void RunDatabaseStage(RunContext& run) {
    if (run.RunError || !run.options.InitializeDatabase) return;
    const SettingsRecord& settings = run.settings;

    run.AddProgressText("Beginning database initialization...");
    const std::string connectionString = BuildConnectionString(settings);

    run.beginContinueOnError();
    auto database = run.attempt([&] { return run.platform.Databases().Open(connectionString); });
    if (run.failure.failed() || !database || !*database) {
        run.AddProgressText("ERROR: Could not establish a connection to main " +
                            settings.MainSQLServerType + " database: " + run.failure.description());
        run.failure.clear();
        run.RunError = true;
        return;
    }
    run.AddProgressText("Connection to server established.");

    StageConnection connection{run, **database, LiteralStyle{}};
    if (settings.MainSQLServerType == "SQL Server") {
        runSqlServerSequence(connection);
    } else if (settings.MainSQLServerType == "MySQL") {
        runMySqlSequence(connection);
    }
}

}  // namespace tessaron
