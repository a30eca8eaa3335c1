#include "app/unattended/CancelSignals.h"

#include <atomic>
#include <csignal>

namespace tessaron::app::unattended {
namespace {

// Lock-free, so the handler may set it.
std::atomic<bool> signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void recordSignal(int) {
    signalled.store(true);
}

}  // namespace

CancelSignals::CancelSignals() {
    signalled.store(false);
    formerInterrupt_ = std::signal(SIGINT, recordSignal);
    formerTerminate_ = std::signal(SIGTERM, recordSignal);
}

CancelSignals::~CancelSignals() {
    std::signal(SIGINT, formerInterrupt_);
    std::signal(SIGTERM, formerTerminate_);
}

bool CancelSignals::received() const {
    return signalled.load();
}

}  // namespace tessaron::app::unattended
