#include "database/MySqlSchema.h"

#include "database/DatabaseVersion.h"
#include "database/SeedRows.h"

namespace tessaron {

namespace {

std::string quoted(std::string_view value) {
    return "'" + std::string(value) + "'";
}

std::string clauseText(const MySqlColumn& column) {
    switch (column.clause) {
        case MySqlClause::DefaultNull:
            return " default NULL";
        case MySqlClause::Default:
            return " default " + quoted(column.defaultValue);
        case MySqlClause::NotNullDefault:
            return " NOT NULL default " + quoted(column.defaultValue);
        case MySqlClause::AutoIncrement:
            return " NOT NULL auto_increment";
        case MySqlClause::None:
            return "";
    }
    return "";
}

std::string columnDefinition(const MySqlColumn& column) {
    std::string text = std::string(column.name) + " " + std::string(column.type);
    if (column.size > 0) text += "(" + std::to_string(column.size) + ")";
    return text + clauseText(column);
}

}  // namespace

std::string mySqlCreateStatement(const MySqlTable& table) {
    std::string statement = "CREATE TABLE " + std::string(table.name) + " (";
    std::string_view primaryKey;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (i > 0) statement += ", ";
        statement += columnDefinition(table.columns[i]);
        if (table.columns[i].clause == MySqlClause::AutoIncrement) {
            primaryKey = table.columns[i].name;
        }
    }
    if (!primaryKey.empty()) statement += ", PRIMARY KEY(" + std::string(primaryKey) + ")";
    return statement + ") ENGINE=MyISAM";
}

std::vector<std::string> mySqlCreateStatements() {
    std::vector<std::string> statements;
    for (const auto& table : mySqlTables()) statements.push_back(mySqlCreateStatement(table));
    return statements;
}

std::string mySqlAccountTypesSeed() {
    std::vector<std::string> values(adminAccountTypeValues().begin(),
                                    adminAccountTypeValues().end());
    return insertStatement("accounttypes", values, ", ");
}

std::vector<std::string> mySqlSubjectsSeed() {
    std::vector<std::string> statements;
    for (const auto& subject : ticketSubjects()) {
        statements.push_back(
            insertStatement("subjects", {quoted(subject.shortType), quoted(subject.type)}, ", "));
    }
    return statements;
}

std::string mySqlVersionRow() {
    return insertStatement("version", {quoted(kDatabaseVersion)}, ", ");
}

}  // namespace tessaron
