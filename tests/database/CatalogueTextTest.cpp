#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "database/MySqlSchema.h"
#include "database/SqlServerSchema.h"

namespace tessaron {
namespace {

using testing::expectedStatements;

// Compares statement by statement so a failure names the one that differs.
void expectSameStatements(const std::vector<std::string>& actual,
                          const std::vector<std::string>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "statement " << i + 1;
    }
}

TEST(SqlServerCatalogue, CreateStatementsAreTheEighteenTablesInOrder) {
    std::vector<std::string> actual;
    for (const auto& table : sqlServerTables()) actual.push_back(sqlServerCreateStatement(table));
    expectSameStatements(actual, expectedStatements("sqlserver-create.sql"));
}

TEST(SqlServerCatalogue, NamesAreTheBracketedNamesOfTheStatements) {
    for (const auto& table : sqlServerTables()) {
        std::string statement = sqlServerCreateStatement(table);
        EXPECT_EQ(statement.rfind("CREATE TABLE [" + std::string(table.name) + "] (", 0), 0u)
            << statement;
    }
}

TEST(SqlServerCatalogue, NineAlterStatementsAddTheDefaultConstraints) {
    expectSameStatements(sqlServerAlterStatements(), expectedStatements("sqlserver-alter.sql"));
}

TEST(SqlServerCatalogue, SeedRowsFollowOnlyAccountTypesVersionAndSubjects) {
    std::vector<std::string> seeds;
    std::vector<std::string> seededTables;
    for (const auto& table : sqlServerTables()) {
        auto rows = sqlServerSeedStatements(table.name);
        if (!rows.empty()) seededTables.emplace_back(table.name);
        seeds.insert(seeds.end(), rows.begin(), rows.end());
    }
    EXPECT_EQ(seededTables, (std::vector<std::string>{"AccountTypes", "Version", "Subjects"}));
    expectSameStatements(seeds, expectedStatements("sqlserver-seed.sql"));
}

TEST(MySqlCatalogue, CreateStatementsAreTheEighteenTablesInOrder) {
    expectSameStatements(mySqlCreateStatements(), expectedStatements("mysql-create.sql"));
}

TEST(MySqlCatalogue, SeedRowsAreWrittenWithABlankAfterEachComma) {
    std::vector<std::string> seeds{mySqlAccountTypesSeed(), mySqlVersionRow()};
    auto subjects = mySqlSubjectsSeed();
    seeds.insert(seeds.end(), subjects.begin(), subjects.end());
    expectSameStatements(seeds, expectedStatements("mysql-seed.sql"));
}

}  // namespace
}  // namespace tessaron
