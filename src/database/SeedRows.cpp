#include "database/SeedRows.h"

namespace tessaron {

const std::vector<std::string_view>& adminAccountTypeValues() {
    // AccountType, AccountTypeClass, Description, Price_1, Price_6, Price_12,
    // DiskSpace, Bandwidth, Accounts, IPsAllowed, Active
    static const std::vector<std::string_view> values = {
        "1", "1", "'Admin'", "0", "0", "0", "1048576", "6000", "6000", "2", "1"};
    return values;
}

const std::vector<TicketSubject>& ticketSubjects() {
    static const std::vector<TicketSubject> subjects = {
        {"GENERAL", "General"},
        {"DNS", "DNS"},
        {"FTP", "FTP"},
        {"FRONTP", "FrontPage"},
        {"EMAIL", "E-Mail"},
        {"DATABASE", "SQL Server/Databases"},
        {"SECURE", "Secure Server"},
        {"SUPPORT", "Support Site"},
        {"STATS", "Statistics"},
        {"WEBSITE", "Website Viewing"},
        {"PERM", "Permissions"},
        {"ASP", "ASP"},
        {"OTHER", "Other"},
        {"BILLING", "Billing"},
    };
    return subjects;
}

std::string insertStatement(std::string_view table, const std::vector<std::string>& values,
                            std::string_view separator) {
    std::string statement = "INSERT INTO ";
    statement += table;
    statement += " VALUES (";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) statement += separator;
        statement += values[i];
    }
    statement += ")";
    return statement;
}

}  // namespace tessaron
