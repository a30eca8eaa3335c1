#pragma once

namespace tessaron::app::unattended {

// While it lives, SIGINT and SIGTERM do not end the process: they are
// recorded, and the unattended front end cancels its run at the next safe
// point. The former handlers are back when it goes.
class CancelSignals {
public:
    CancelSignals();
    ~CancelSignals();
    CancelSignals(const CancelSignals&) = delete;
    CancelSignals& operator=(const CancelSignals&) = delete;

    // True once either signal has arrived.
    bool received() const;

private:
    using Handler = void (*)(int);
    Handler formerInterrupt_;
    Handler formerTerminate_;
};

}  // namespace tessaron::app::unattended
