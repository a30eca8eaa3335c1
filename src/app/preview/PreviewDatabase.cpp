#include "app/preview/PreviewDatabase.h"

#include <algorithm>

#include "platform/Database.h"
#include "platform/Failure.h"
#include "platform/WindowsPath.h"

namespace tessaron::app::preview {
namespace {

bool startsWithWord(const std::string& text, std::string_view word) {
    const auto start = text.find_first_not_of(" \t\r\n");
    return start != std::string::npos && text.size() >= start + word.size() &&
           equalsIgnoreCase(std::string_view(text).substr(start, word.size()), word);
}

class PreviewConnection : public DatabaseConnection {
public:
    PreviewConnection(std::unique_ptr<DatabaseConnection> server, bool sqlServer,
                      DatabasePreview& record)
        : server_(std::move(server)), sqlServer_(sqlServer), record_(record) {}

    void Execute(const std::string& statement) override {
        PreviewStatement recorded{statement, {}};
        const std::string table = CreatedTable(statement);
        const bool exists = !table.empty() && tableExists(table);
        if (exists) recorded.note = "table " + table + " exists: the statement fails";
        record_.statements.push_back(recorded);
        if (exists) {
            // Answered as the server answers a CREATE of an existing table,
            // so that the stage goes on exactly as it would.
            throw DatabaseError("Table " + table + " already exists", "42S01",
                                sqlServer_ ? 2714 : 1050);
        }
    }

    // Queries only read; anything else is recorded and answered as failed.
    long long QueryNumber(const std::string& query, const std::string& column) override {
        if (!startsWithWord(query, "SELECT")) refuse(query);
        return server_->QueryNumber(query, column);
    }
    std::string QueryText(const std::string& query, const std::string& column) override {
        if (!startsWithWord(query, "SELECT")) refuse(query);
        return server_->QueryText(query, column);
    }

private:
    [[noreturn]] void refuse(const std::string& query) {
        record_.statements.push_back({query, "not run by the preview"});
        throw PlatformError(error_number::kDatabaseFailure,
                            "The preview does not change the database");
    }

    bool tableExists(const std::string& table) {
        const std::string name = replaceAll(table, "'", "''");
        const std::string query =
            sqlServer_
                ? "SELECT COUNT(*) AS Total FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME = '" +
                      name + "'"
                : "SELECT COUNT(*) AS Total FROM information_schema.TABLES WHERE TABLE_SCHEMA = "
                  "DATABASE() AND TABLE_NAME = '" +
                      name + "'";
        try {
            if (server_->QueryNumber(query, "Total") == 0) return false;
        } catch (const PlatformError&) {
            return false;
        }
        auto& existing = record_.existingTables;
        if (std::find(existing.begin(), existing.end(), table) == existing.end()) {
            existing.push_back(table);
        }
        return true;
    }

    std::unique_ptr<DatabaseConnection> server_;
    bool sqlServer_;
    DatabasePreview& record_;
};

}  // namespace

std::string CreatedTable(const std::string& statement) {
    if (!startsWithWord(statement, "CREATE")) return {};
    const std::string lower = asciiLower(statement);
    auto at = lower.find("table");
    if (at == std::string::npos) return {};
    at = lower.find_first_not_of(" \t\r\n", at + 5);
    if (at == std::string::npos) return {};
    if (lower.compare(at, 13, "if not exists") == 0) {
        at = lower.find_first_not_of(" \t\r\n", at + 13);
        if (at == std::string::npos) return {};
    }
    std::string name;
    for (auto index = at; index < statement.size(); ++index) {
        const char c = statement[index];
        if (c == '[' || c == ']' || c == '`' || c == '"') continue;
        if (c == ' ' || c == '(' || c == '\t' || c == '\r' || c == '\n') break;
        name += c;
    }
    return name;
}

PreviewDatabase::PreviewDatabase(Database& database, bool sqlServer, DatabasePreview& record)
    : database_(database), sqlServer_(sqlServer), record_(record) {}

std::unique_ptr<DatabaseConnection> PreviewDatabase::Open(const std::string& connectionString) {
    record_.attempted = true;
    try {
        auto server = database_.Open(connectionString);
        record_.connected = true;
        return std::make_unique<PreviewConnection>(std::move(server), sqlServer_, record_);
    } catch (const PlatformError& error) {
        record_.failure = error.description();
        throw;
    }
}

}  // namespace tessaron::app::preview
