#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace tessaron::testing {

// A listener on the loopback address that accepts every connection and
// never sends a byte: a database server that has stopped answering.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int port() const { return port_; }
    // "127.0.0.1;Port=N": a database address that reaches it.
    std::string address() const;
    int accepted() const { return accepted_; }

private:
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> accepted_{0};
    std::atomic<bool> stopping_{false};
    std::vector<int> connections_;
    std::thread acceptor_;
};

}  // namespace tessaron::testing
