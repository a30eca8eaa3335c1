#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/odbc/OdbcCalls.h"

namespace tessaron::odbc {

// How long the steps of a database conversation may take. The driver's own
// timeouts come first, so that a failure carries the driver's text; the
// bound of the whole connect is the last resort for drivers that ignore
// them during the handshake.
inline constexpr unsigned long kLoginTimeoutSeconds = 15;
inline constexpr unsigned long kReadWriteTimeoutSeconds = 15;
inline constexpr unsigned long kQueryTimeoutSeconds = 20;
inline constexpr std::chrono::seconds kConnectBound{25};

// The connection string with the connect, read and write timeouts of the
// MariaDB / MySQL driver added (it does not take SQL_ATTR_LOGIN_TIMEOUT, and
// only CONN_TIMEOUT covers the handshake, so a server that accepts and never
// answers would hold the connect for ever). Other drivers' strings stay as
// they are.
std::string withDriverTimeouts(const std::string& connectionString);

// The driver connect (driverConnect) on a thread of its own. Returns the call's result; when
// the call has not returned within the bound, the connection handle is left
// to that thread (it frees it when the driver gives up) and a PlatformError
// saying so is thrown. The keepAlive object (the environment) lives until
// the abandoned call has returned.
SQLRETURN boundedDriverConnect(SQLHDBC connection, const std::string& connectionString,
                               std::shared_ptr<void> keepAlive,
                               std::chrono::seconds bound = kConnectBound);

}  // namespace tessaron::odbc
