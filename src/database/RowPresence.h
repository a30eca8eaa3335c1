#pragma once

#include <string>

#include "database/SeedRows.h"
#include "database/SqlLiteral.h"
#include "settings/SettingsRecord.h"

namespace tessaron {

// Queries that count the rows like one an initial insert adds, each
// "SELECT COUNT(*) AS Total FROM ...". The stage inserts a row only when its
// count is 0, so a run against a database initialised before adds nothing:
// the tables holding these rows have no key that would refuse a second copy.
// Table names are written as the MySQL statements write them, which SQL
// Server matches as well.

// The administrator's account type (AccountType 1).
std::string accountTypeCountQuery();
// One ticket subject, by its short type.
std::string subjectCountQuery(const TicketSubject& subject);
// Any database version row: the table holds one.
std::string versionCountQuery();
// The administrator's reseller row: the administrator's user name with Admin 1.
std::string adminResellerCountQuery(const SettingsRecord& settings, LiteralStyle style);

}  // namespace tessaron
