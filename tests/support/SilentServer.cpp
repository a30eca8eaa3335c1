#include "support/SilentServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace tessaron::testing {

SilentServer::SilentServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
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
            pollfd ready{listener_, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0) continue;
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0) continue;
            connections_.push_back(connection);  // held open, never answered
            ++accepted_;
        }
    });
}

SilentServer::~SilentServer() {
    stopping_ = true;
    acceptor_.join();
    for (int connection : connections_) close(connection);
    close(listener_);
}

std::string SilentServer::address() const {
    return "127.0.0.1;Port=" + std::to_string(port_);
}

}  // namespace tessaron::testing
