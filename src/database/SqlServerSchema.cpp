#include "database/SqlServerSchema.h"

#include "database/DatabaseVersion.h"
#include "database/SeedRows.h"

namespace tessaron {

namespace {

std::string nullsClause(SqlServerNulls nulls) {
    switch (nulls) {
        case SqlServerNulls::Null:
            return " NULL";
        case SqlServerNulls::Identity:
            return " IDENTITY (1,  1) NOT NULL";
        case SqlServerNulls::NotNullCollated:
            return " COLLATE SQL_Latin1_General_CP1_CI_AS NOT NULL";
        case SqlServerNulls::NotNull:
            return " NOT NULL";
        case SqlServerNulls::NotStated:
            return "";
    }
    return "";
}

std::string columnDefinition(const SqlServerColumn& column) {
    std::string text = "[" + std::string(column.name) + "] [" + std::string(column.type) + "]";
    if (column.size > 0) text += " (" + std::to_string(column.size) + ")";
    return text + nullsClause(column.nulls);
}

bool holdsTextOrImage(const SqlServerTable& table) {
    for (const auto& column : table.columns) {
        if (column.type == "ntext" || column.type == "image") return true;
    }
    return false;
}

}  // namespace

std::string sqlServerCreateStatement(const SqlServerTable& table) {
    std::string statement = "CREATE TABLE [" + std::string(table.name) + "] (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (i > 0) statement += ", ";
        statement += columnDefinition(table.columns[i]);
    }
    statement += ") ON [PRIMARY]";
    if (holdsTextOrImage(table)) statement += " TEXTIMAGE_ON [PRIMARY]";
    return statement;
}

std::string sqlServerAlterStatement(const SqlServerTable& table) {
    std::string constraints;
    for (const auto& column : table.columns) {
        if (column.defaultName.empty()) continue;
        constraints += constraints.empty() ? "" : ", ";
        constraints += "CONSTRAINT [" + std::string(column.defaultName) + "] DEFAULT (" +
                       std::string(column.defaultValue) + ") FOR [" + std::string(column.name) +
                       "]";
    }
    if (constraints.empty()) return {};
    return "ALTER TABLE [" + std::string(table.name) + "] WITH NOCHECK ADD " + constraints;
}

std::vector<std::string> sqlServerAlterStatements() {
    std::vector<std::string> statements;
    for (const auto& table : sqlServerTables()) {
        std::string statement = sqlServerAlterStatement(table);
        if (!statement.empty()) statements.push_back(std::move(statement));
    }
    return statements;
}

std::vector<std::string> sqlServerSeedStatements(std::string_view table) {
    if (table == "AccountTypes") {
        std::vector<std::string> values(adminAccountTypeValues().begin(),
                                        adminAccountTypeValues().end());
        return {insertStatement("accounttypes", values, ",")};
    }
    if (table == "Version") {
        return {insertStatement("Version", {"'" + std::string(kDatabaseVersion) + "'"}, ",")};
    }
    if (table == "Subjects") {
        std::vector<std::string> statements;
        for (const auto& subject : ticketSubjects()) {
            statements.push_back(insertStatement(
                "subjects",
                {"'" + std::string(subject.shortType) + "'", "'" + std::string(subject.type) + "'"},
                ","));
        }
        return statements;
    }
    return {};
}

}  // namespace tessaron
