#include "database/InitialRows.h"

#include <string_view>
#include <utility>
#include <vector>

#include "database/SeedRows.h"

namespace tessaron {

std::string sqlServerTimestamp(const std::tm& local) {
    int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, hour12, local.tm_min, local.tm_sec,
                  local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

std::string mySqlTimestamp(const std::tm& local) {
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:00", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::string ipCountQuery(SqlDialect dialect, const SettingsRecord& settings, LiteralStyle style) {
    const char* table = dialect == SqlDialect::MySql ? "ips" : "IPs";
    return std::string("SELECT COUNT(*) AS Total FROM ") + table +
           " WHERE IPAddress = " + quotedLiteral(settings.ServerIP, style);
}

std::string ipInsertStatement(const SettingsRecord& settings, LiteralStyle style) {
    return insertStatement(
        "ips",
        {quotedLiteral(settings.ServerIP, style), quotedLiteral(settings.InternalIP, style),
         quotedLiteral(settings.ServerName, style), "'-1'", "'-1'"},
        ",");
}

std::string resellerInsertStatement(SqlDialect dialect, const SettingsRecord& settings,
                                    const std::string& timestamp, LiteralStyle style) {
    const bool mysql = dialect == SqlDialect::MySql;
    auto text = [&](const std::string& value) { return quotedLiteral(value, style); };
    // Column, value; in the column order of the resellers table.
    const std::vector<std::pair<std::string_view, std::string>> row = {
        {"ServerName", text(settings.ServerName)},
        {"Username", text(settings.AdminUsername)},
        {"Password", text(settings.AdminPassword)},
        {"CompanyName", "''"},
        {"ContactName", "'Tessaron Admin'"},
        {"ContactEmail", text(settings.MainContactEmail)},
        {"StreetAddress1", "''"},
        {"StreetAddress2", "''"},
        {"City", "''"},
        {"State", "''"},
        {"ZIP", "''"},
        {"Country", "''"},
        {"PhoneNumber", "''"},
        {"FaxNumber", "''"},
        {"ChargeType", "'Free'"},
        {"CreditCardNumber", "''"},
        {"ExpDate", "''"},
        {"DateEntered", text(timestamp)},
        {"DateRenewed", text(timestamp)},
        {"AccountType", "1"},
        {"Duration", "1"},
        {"Status", "'Active'"},
        {"PrimaryDNS", text(settings.DefaultPrimaryDNS)},
        {"PrimaryDNSIP", text(settings.DefaultPrimaryDNSIP)},
        {"SecondaryDNS", text(settings.DefaultSecondaryDNS)},
        {"SecondaryDNSIP", text(settings.DefaultSecondaryDNSIP)},
        {"LogoImageUsed", "0"},
        {"LogoImage1", "NULL"},
        {"LogoImage2", "NULL"},
        {"CustomerInfoMail", "''"},
        {"FontSize1", "12"},
        {"FontSize2", "14"},
        {"FontSize3", "16"},
        {"FontName1", "'Arial'"},
        {"FontName2", "'Arial'"},
        {"FontName3", "'Arial'"},
        {"FontColor1", "'black'"},
        {"FontColor2", "'black'"},
        {"FontColor3", "'black'"},
        {"BGColor1", "'white'"},
        {"BGColor2", "'white'"},
        {"BGColor3", "'white'"},
        {"LinkColor", "'blue'"},
        {"LinkRollover", "'red'"},
        {"TroubleTicketEmail", text(settings.AdminEmail)},
        {"EmailTroubleTickets", "1"},
        {"Admin", "1"},
        {"DefaultPage", mysql ? "''" : "'Coming soon'"},
        {"DefaultPageName", "'default.htm'"},
        {"SetupDefaultPage", "0"},
        {"LastLoggedInIP", "''"},
        {"LastLoggedInDate", "NULL"},
        {"PanelStyle", "'original'"},
    };
    std::vector<std::string> values;
    // ResellerID: MySQL is given 1; SQL Server numbers the row itself.
    if (mysql) values.push_back("'1'");
    for (const auto& [column, value] : row) values.push_back(value);
    return insertStatement("resellers", values, mysql ? ", " : ",");
}

}  // namespace tessaron
