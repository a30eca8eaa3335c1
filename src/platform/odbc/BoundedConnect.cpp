#include "platform/odbc/BoundedConnect.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Failure.h"

namespace tessaron::odbc {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The value of the DRIVER keyword, lower case, braces kept.
std::string driverName(const std::string& connectionString) {
    const std::string text = lower(connectionString);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(';', start);
        const std::string pair =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t equals = pair.find('=');
        std::string key = pair.substr(0, equals);
        key.erase(0, key.find_first_not_of(' '));
        if (equals != std::string::npos && key.rfind("driver", 0) == 0 &&
            key.find_first_not_of(' ', 6) == std::string::npos) {
            return pair.substr(equals + 1);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}

// What the connecting thread and its caller share; whoever leaves last
// frees it.
struct Attempt {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool abandoned = false;
    SQLRETURN result = SQL_ERROR;
};

}  // namespace

std::string withDriverTimeouts(const std::string& connectionString) {
    const std::string driver = driverName(connectionString);
    if (driver.find("mysql") == std::string::npos && driver.find("mariadb") == std::string::npos) {
        return connectionString;
    }
    std::string bounded = connectionString;
    if (!bounded.empty() && bounded.back() != ';') bounded += ';';
    const std::string login = std::to_string(kLoginTimeoutSeconds);
    const std::string seconds = std::to_string(kReadWriteTimeoutSeconds);
    return bounded + "CONN_TIMEOUT=" + login + ";READ_TIMEOUT=" + seconds +
           ";WRITE_TIMEOUT=" + seconds + ";";
}

SQLRETURN boundedDriverConnect(SQLHDBC connection, const std::string& connectionString,
                               std::shared_ptr<void> keepAlive, std::chrono::seconds bound) {
    auto attempt = std::make_shared<Attempt>();
    std::thread([attempt, connection, text = connectionString, keepAlive]() mutable {
        SQLRETURN result = driverConnect(connection, text);
        std::unique_lock lock(attempt->mutex);
        attempt->done = true;
        attempt->result = result;
        if (attempt->abandoned) {
            // Nobody waits for this connection any more.
            if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) SQLDisconnect(connection);
            SQLFreeHandle(SQL_HANDLE_DBC, connection);
            return;
        }
        lock.unlock();
        attempt->ended.notify_all();
    }).detach();

    std::unique_lock lock(attempt->mutex);
    if (!attempt->ended.wait_for(lock, bound, [&] { return attempt->done; })) {
        attempt->abandoned = true;
        throw PlatformError(error_number::kDatabaseFailure,
                            "The database server did not answer within " +
                                std::to_string(bound.count()) + " seconds.");
    }
    return attempt->result;
}

}  // namespace tessaron::odbc
