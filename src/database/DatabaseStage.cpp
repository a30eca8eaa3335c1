#include "database/DatabaseStage.h"

#include <ctime>
#include <memory>
#include <set>

#include "database/ConnectionString.h"
#include "database/InitialRows.h"
#include "database/MySqlSchema.h"
#include "database/RowPresence.h"
#include "database/SqlServerSchema.h"

namespace tessaron {

namespace {

// What a failed statement means to the stage.
enum class Refusal {
    TableExists,   // a CREATE TABLE of a table there already
    DuplicateRow,  // an insert of a row whose key is there already
    Other,
};

Refusal refusalOf(const PlatformError& error) {
    const auto* database = dynamic_cast<const DatabaseError*>(&error);
    if (!database) return Refusal::Other;
    // MySQL: ER_TABLE_EXISTS_ERROR 1050, ER_DUP_ENTRY 1062; SQL Server:
    // duplicate key 2627 (constraint) and 2601 (unique index).
    if (database->sqlState() == "42S01" || database->nativeError() == 1050) {
        return Refusal::TableExists;
    }
    const long native = database->nativeError();
    if (database->sqlState() == "23000" && (native == 1062 || native == 2627 || native == 2601)) {
        return Refusal::DuplicateRow;
    }
    return Refusal::Other;
}

// The table a CREATE TABLE or INSERT INTO statement names.
std::string tableOf(const std::string& statement) {
    for (const std::string prefix : {"CREATE TABLE ", "INSERT INTO "}) {
        if (statement.rfind(prefix, 0) == 0) {
            const auto end = statement.find_first_of(" (", prefix.size());
            return statement.substr(prefix.size(), end - prefix.size());
        }
    }
    return statement;
}

// The table of "ALTER TABLE [name] ...".
std::string alteredTable(const std::string& statement) {
    const auto start = statement.find('[');
    const auto end = statement.find(']', start);
    if (start == std::string::npos || end == std::string::npos) return {};
    return statement.substr(start + 1, end - start - 1);
}

// One open connection and how the stage writes literals on it.
struct StageConnection {
    RunContext& run;
    DatabaseConnection& database;
    LiteralStyle literals;
    // True once a statement failed in a way the stage reports: the stage
    // then does not claim the database was created.
    bool reportedFailure = false;

    // Runs a statement whose failure the stage ignores. The failure is
    // cleared at once so it is never taken for a later step's failure.
    void executeIgnoringFailure(const std::string& statement) {
        run.attempt([&] { database.Execute(statement); });
        run.failure.clear();
    }

    // Runs a statement; a refusal other than the one the stage expects on a
    // database initialised before is an ERROR line with the driver's text
    // and sets RunError. Returns false when that happened.
    bool execute(const std::string& statement, Refusal expected, const std::string& errorLine) {
        try {
            database.Execute(statement);
            return true;
        } catch (const PlatformError& error) {
            if (refusalOf(error) == expected) return true;
            run.AddProgressText(errorLine + " - " + error.description());
            run.RunError = true;
            reportedFailure = true;
            return false;
        }
    }
    // Inserts a row. A row whose key is there already is not an error of
    // this run, but it is reported: the row the run meant to add is missing.
    bool insert(const std::string& statement) {
        const std::string table = tableOf(statement);
        try {
            database.Execute(statement);
            return true;
        } catch (const PlatformError& error) {
            if (refusalOf(error) == Refusal::DuplicateRow) {
                run.AddProgressText("WARNING: Could not insert into the " + table +
                                    " table, a row with the same key exists - " +
                                    error.description());
                return false;
            }
            run.AddProgressText("ERROR: Could not insert into the " + table + " table - " +
                                error.description());
            run.RunError = true;
            reportedFailure = true;
            return false;
        }
    }
    // True when the counting query finds a row; a query that fails counts
    // as none, so the row is inserted as on a new database.
    bool present(const std::string& countQuery) {
        auto total = run.attempt([&] { return database.QueryNumber(countQuery, "Total"); });
        run.failure.clear();
        return total && *total > 0;
    }
    void insertUnlessPresent(const std::string& countQuery, const std::string& statement) {
        if (!present(countQuery)) insert(statement);
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
        return connection.database.QueryNumber(ipCountQuery(dialect, settings, connection.literals),
                                               "Total");
    });
    connection.run.failure.clear();
    if (!total || *total == 0) connection.insert(ipInsertStatement(settings, connection.literals));
}

void addResellerRow(StageConnection& connection, SqlDialect dialect) {
    std::tm now = localTime(connection.run);
    std::string timestamp =
        dialect == SqlDialect::MySql ? mySqlTimestamp(now) : sqlServerTimestamp(now);
    connection.insertUnlessPresent(
        adminResellerCountQuery(connection.run.settings, connection.literals),
        resellerInsertStatement(dialect, connection.run.settings, timestamp, connection.literals));
}

void runSqlServerSequence(StageConnection& connection) {
    RunContext& run = connection.run;
    run.AddProgressText("Creating tables...");
    std::set<std::string, std::less<>> created;
    for (const auto& table : sqlServerTables()) {
        run.attempt([&] { connection.database.Execute(sqlServerCreateStatement(table)); });
        if (run.failure.failed()) {
            run.AddProgressText("Could not add " + std::string(table.name) +
                                " table; table may already exist.");
            run.failure.clear();
            continue;
        }
        created.emplace(table.name);
        for (const auto& seed : sqlServerSeedStatements(table.name)) connection.insert(seed);
    }

    // The defaults belong to the tables this run created: a table there
    // before got them when it was created.
    run.AddProgressText("Making necessary modifications...");
    for (const auto& statement : sqlServerAlterStatements()) {
        if (created.count(alteredTable(statement))) connection.executeIgnoringFailure(statement);
    }

    run.AddProgressText("Populating database with initial data..");
    addIpRow(connection, SqlDialect::SqlServer);
    addResellerRow(connection, SqlDialect::SqlServer);
    if (!connection.reportedFailure) run.AddProgressText("Tessaron database created.");
}

// MySQL reads backslashes in literals as escapes unless the session says
// otherwise; when the mode cannot be read, the server default (escapes on)
// is assumed.
LiteralStyle mySqlLiteralStyle(RunContext& run, DatabaseConnection& database) {
    auto mode = run.attempt(
        [&] { return database.QueryText("SELECT @@SESSION.sql_mode AS Mode", "Mode"); });
    run.failure.clear();
    return LiteralStyle{.backslashEscapes = !mode || !sqlModeDisablesBackslashEscapes(*mode)};
}

void runMySqlSequence(StageConnection& connection) {
    RunContext& run = connection.run;
    connection.literals = mySqlLiteralStyle(run, connection.database);

    run.AddProgressText("Creating tables...");
    // A table that exists already stays as it is; any other refusal leaves
    // the schema incomplete, so nothing is inserted into it.
    for (const auto& statement : mySqlCreateStatements()) {
        if (!connection.execute(statement, Refusal::TableExists,
                                "ERROR: Could not create the " + tableOf(statement) + " table")) {
            return;
        }
    }

    run.AddProgressText("Populating database with initial data...");
    addIpRow(connection, SqlDialect::MySql);
    connection.insertUnlessPresent(accountTypeCountQuery(), mySqlAccountTypesSeed());
    addResellerRow(connection, SqlDialect::MySql);
    const auto subjects = mySqlSubjectsSeed();
    for (std::size_t index = 0; index < subjects.size(); ++index) {
        connection.insertUnlessPresent(subjectCountQuery(ticketSubjects()[index]), subjects[index]);
    }
    connection.insertUnlessPresent(versionCountQuery(), mySqlVersionRow());
    if (!connection.reportedFailure) run.AddProgressText("Tessaron database created.");
}

}  // namespace

void runDatabaseStage(RunContext& run) {
    const SettingsRecord& settings = run.settings;

    run.AddProgressText("Beginning database initialization...");
    const std::string connectionString = buildConnectionString(settings);

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
