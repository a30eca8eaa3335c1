#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// The panel database in the MySQL dialect, as data: the eighteen tables in
// creation order with their inline defaults. An auto_increment column is the
// table's primary key. Every table uses the MyISAM storage engine, named with
// the ENGINE keyword that current servers require.

enum class MySqlClause {
    DefaultNull,     // "default NULL"
    Default,         // "default '<value>'"
    NotNullDefault,  // "NOT NULL default '<value>'"
    AutoIncrement,   // "NOT NULL auto_increment"
    None,            // text, longtext, longblob and a few others: no clause
};

struct MySqlColumn {
    std::string_view name;
    std::string_view type;
    int size = 0;  // 0 for types without a length
    MySqlClause clause = MySqlClause::DefaultNull;
    std::string_view defaultValue = {};
};

struct MySqlTable {
    std::string_view name;
    std::vector<MySqlColumn> columns;
};

const std::vector<MySqlTable>& mySqlTables();

std::string mySqlCreateStatement(const MySqlTable& table);
std::vector<std::string> mySqlCreateStatements();

// The fixed rows, written with a blank after every comma.
std::string mySqlAccountTypesSeed();
std::vector<std::string> mySqlSubjectsSeed();
std::string mySqlVersionRow();

}  // namespace tessaron
