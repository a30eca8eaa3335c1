#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// The panel database in the SQL Server dialect, as data: the eighteen tables
// in creation order with every column, the named default constraints (added
// after creation by one ALTER TABLE per table) and the seed rows.

enum class SqlServerNulls {
    Null,             // "NULL"
    Identity,         // "IDENTITY (1,  1) NOT NULL"
    NotNullCollated,  // "COLLATE SQL_Latin1_General_CP1_CI_AS NOT NULL"
    NotNull,          // "NOT NULL"
    NotStated,        // no clause: the server's default nullability applies
};

struct SqlServerColumn {
    std::string_view name;
    std::string_view type;
    int size = 0;  // 0 for types without a length
    SqlServerNulls nulls = SqlServerNulls::NotStated;
    std::string_view defaultName = {};   // empty: no default constraint
    std::string_view defaultValue = {};  // the default as an SQL literal
};

struct SqlServerTable {
    std::string_view name;
    std::vector<SqlServerColumn> columns;
};

const std::vector<SqlServerTable>& sqlServerTables();

// "CREATE TABLE [name] (...) ON [PRIMARY]", with " TEXTIMAGE_ON [PRIMARY]"
// for tables that hold ntext or image columns.
std::string sqlServerCreateStatement(const SqlServerTable& table);

// One statement per table that has defaults, in creation order; empty for a
// table without defaults.
std::string sqlServerAlterStatement(const SqlServerTable& table);
std::vector<std::string> sqlServerAlterStatements();

// The rows inserted right after the table's CREATE TABLE succeeded: the
// administrator's account type after AccountTypes, the version row after
// Version, the fourteen subjects after Subjects; none for other tables.
std::vector<std::string> sqlServerSeedStatements(std::string_view table);

}  // namespace tessaron
