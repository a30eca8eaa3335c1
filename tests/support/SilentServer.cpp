#include "support/SilentServer.h"

#ifdef _WIN32
// Winsock's sockets; under wine they are the host's, so the host's ODBC
// driver behind odbc32 reaches the listener as on Linux.
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
#else
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <stdexcept>

namespace tessaron::testing {
namespace {

#ifdef _WIN32
struct Winsock {
    Winsock() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
};
const Winsock kWinsock;

int waitForConnection(int listener) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(static_cast<SOCKET>(listener), &ready);
    timeval wait{0, 50000};
    return select(0, &ready, nullptr, nullptr, &wait);
}
void closeSocket(int socket) {
    closesocket(static_cast<SOCKET>(socket));
}
#else
int waitForConnection(int listener) {
    pollfd ready{listener, POLLIN, 0};
    return poll(&ready, 1, 50);
}
void closeSocket(int socket) {
    close(socket);
}
#endif

}  // namespace

SilentServer::SilentServer() {
    listener_ = static_cast<int>(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on the loopback address");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] {
        while (!stopping_) {
            if (waitForConnection(listener_) <= 0) continue;
            const int connection = static_cast<int>(accept(listener_, nullptr, nullptr));
            if (connection < 0) continue;
            connections_.push_back(connection);  // held open, never answered
            ++accepted_;
        }
    });
}

SilentServer::~SilentServer() {
    stopping_ = true;
    acceptor_.join();
    for (int connection : connections_) closeSocket(connection);
    closeSocket(listener_);
}

std::string SilentServer::address() const {
    return "127.0.0.1;Port=" + std::to_string(port_);
}

}  // namespace tessaron::testing
