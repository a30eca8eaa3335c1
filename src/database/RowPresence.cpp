#include "database/RowPresence.h"

namespace tessaron {
namespace {

std::string countQuery(const std::string& table, const std::string& condition) {
    return "SELECT COUNT(*) AS Total FROM " + table + (condition.empty() ? "" : " WHERE ") +
           condition;
}

}  // namespace

std::string accountTypeCountQuery() {
    return countQuery("accounttypes", "AccountType = " + std::string(adminAccountTypeValues()[0]));
}

std::string subjectCountQuery(const TicketSubject& subject) {
    return countQuery("subjects", "ShortType = '" + std::string(subject.shortType) + "'");
}

std::string versionCountQuery() {
    return countQuery("version", "");
}

std::string adminResellerCountQuery(const SettingsRecord& settings, LiteralStyle style) {
    return countQuery("resellers", "Username = " + quotedLiteral(settings.AdminUsername, style) +
                                       " AND Admin = 1");
}

}  // namespace tessaron
