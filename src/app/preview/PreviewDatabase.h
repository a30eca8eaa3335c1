#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Database.h"

namespace tessaron::app::preview {

// A statement the database stage would execute, in order.
struct PreviewStatement {
    std::string text;
    // Set when the statement is known to fail: it creates a table that
    // exists already.
    std::string note;
};

// What the preview learnt from the database.
struct DatabasePreview {
    bool attempted = false;  // the stage opened a connection
    bool connected = false;
    std::string failure;                      // the driver's text when the connection failed
    std::vector<std::string> existingTables;  // of the tables the stage creates
    std::vector<PreviewStatement> statements;
};

// The database service in read-only mode. Opening connects for real (so a
// failure has the driver's own text); the connection then answers the
// stage's queries from the server and records every statement instead of
// executing it. A statement creating a table that exists fails as it would on
// the server, so the stage takes the same path as in a real run.
class PreviewDatabase : public Database {
public:
    // sqlServer: the panel's database is on SQL Server (else MySQL), which
    // decides how table existence is asked.
    PreviewDatabase(Database& database, bool sqlServer, DatabasePreview& record);

    std::unique_ptr<DatabaseConnection> Open(const std::string& connectionString) override;

private:
    Database& database_;
    bool sqlServer_;
    DatabasePreview& record_;
};

// The table a CREATE TABLE statement creates (brackets, backquotes and
// quotes removed), or empty text for any other statement.
std::string CreatedTable(const std::string& statement);

}  // namespace tessaron::app::preview
