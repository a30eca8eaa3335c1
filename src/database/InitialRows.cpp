#include "database/InitialRows.h"

#include <vector>

#include "database/SeedRows.h"

namespace tessaron {

std::string SqlServerTimestamp(const std::tm& local) {
    int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, hour12, local.tm_min, local.tm_sec,
                  local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

std::string MySqlTimestamp(const std::tm& local) {
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:00", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::string IpCountQuery(SqlDialect dialect, const SettingsRecord& settings, LiteralStyle style) {
    const char* table = dialect == SqlDialect::MySql ? "ips" : "IPs";
    return std::string("SELECT COUNT(*) AS Total FROM ") + table +
           " WHERE IPAddress = " + QuotedLiteral(settings.ServerIP, style);
}

std::string IpInsertStatement(const SettingsRecord& settings, LiteralStyle style) {
    return InsertStatement("ips",
                           {QuotedLiteral(settings.ServerIP, style),
                            QuotedLiteral(settings.InternalIP, style),
                            QuotedLiteral(settings.ServerName, style), "'-1'", "'-1'"},
                           ",");
}

std::string ResellerInsertStatement(SqlDialect dialect, const SettingsRecord& settings,
                                    const std::string& timestamp, LiteralStyle style) {
    const bool mysql = dialect == SqlDialect::MySql;
    auto text = [&](const std::string& value) { return QuotedLiteral(value, style); };
    std::vector<std::string> values;
    if (mysql) values.push_back("'1'");  // ResellerID; SQL Server numbers it
    values.insert(values.end(), {
        text(settings.ServerName),
        text(settings.AdminUsername),
        text(settings.AdminPassword),
        "''",                // CompanyName
        "'Tessaron Admin'",  // ContactName
        text(settings.MainContactEmail),
        "''", "''", "''", "''", "''", "''", "''", "''",  // address, phone and fax
        "'Free'",   // ChargeType
        "''",       // CreditCardNumber
        "''",       // ExpDate
        text(timestamp),  // DateEntered
        text(timestamp),  // DateRenewed
        "1",        // AccountType
        "1",        // Duration
        "'Active'",  // Status
        text(settings.DefaultPrimaryDNS),
        text(settings.DefaultPrimaryDNSIP),
        text(settings.DefaultSecondaryDNS),
        text(settings.DefaultSecondaryDNSIP),
        "0",                      // LogoImageUsed
        "NULL", "NULL",           // LogoImage1, LogoImage2
        "''",                     // CustomerInfoMail
        "12", "14", "16",         // FontSize1..3
        "'Arial'", "'Arial'", "'Arial'",
        "'black'", "'black'", "'black'",
        "'white'", "'white'", "'white'",
        "'blue'",                 // LinkColor
        "'red'",                  // LinkRollover
        text(settings.AdminEmail),  // TroubleTicketEmail
        "1",                      // EmailTroubleTickets
        "1",                      // Admin
        mysql ? "''" : "'Coming soon'",  // DefaultPage
        "'default.htm'",          // DefaultPageName
        "0",                      // SetupDefaultPage
        "''",                     // LastLoggedInIP
        "NULL",                   // LastLoggedInDate
        "'original'",             // PanelStyle
    });
    return InsertStatement("resellers", values, mysql ? ", " : ",");
}

}  // namespace tessaron
