#include "database/ConnectionString.h"

namespace tessaron {

std::string connectionStringValue(const std::string& value) {
    if (value.find_first_of(";{}") == std::string::npos) return value;
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}') braced += '}';
    }
    return braced + "}";
}

std::string buildConnectionString(const SettingsRecord& settings) {
    std::string driver;
    if (settings.MainSQLServerType == "SQL Server") {
        driver = "DRIVER={SQL Server};";
    } else if (settings.MainSQLServerType == "MySQL") {
        driver = "DRIVER={MySQL ODBC 3.51 Driver};";
    }
    return driver + "Server=" + settings.MainDatabaseIP + ";Database=" + settings.MainDatabaseName +
           ";UID=" + connectionStringValue(settings.MainDatabaseUsername) +
           ";pwd=" + connectionStringValue(settings.MainDatabasePassword) + ";";
}

}  // namespace tessaron
