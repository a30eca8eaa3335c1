#include "platform/windows/WindowsMachineLock.h"

#include <algorithm>
#include <string>

#include "platform/Failure.h"
#include "platform/windows/Win32.h"

namespace tessaron::platform::windows {
namespace {

constexpr const wchar_t* kMutexName = L"Global\\TessaronConfigurationRun";

class WindowsMachineLock : public MachineLock {
public:
    explicit WindowsMachineLock(HANDLE mutex) : mutex_(mutex) {}
    ~WindowsMachineLock() override {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
    WindowsMachineLock(const WindowsMachineLock&) = delete;
    WindowsMachineLock& operator=(const WindowsMachineLock&) = delete;

private:
    HANDLE mutex_;
};

[[noreturn]] void lockFailed(const char* what, DWORD error) {
    throw PlatformError(error_number::kPermissionDenied,
                        std::string("The run lock of this machine could not be ") + what +
                            " (Windows error " + std::to_string(error) + ").");
}

}  // namespace

std::unique_ptr<MachineLock> lockLocalMachine(std::chrono::milliseconds patience) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!mutex) lockFailed("opened", GetLastError());
    // Below INFINITE: a long patience still ends.
    const auto wait = static_cast<DWORD>(
        std::clamp<std::chrono::milliseconds::rep>(patience.count(), 0, INFINITE - 1));
    switch (WaitForSingleObject(mutex, wait)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // the former holder ended without releasing it
            return std::make_unique<WindowsMachineLock>(mutex);
        case WAIT_TIMEOUT:
            CloseHandle(mutex);
            return nullptr;
        default: {
            const DWORD error = GetLastError();
            CloseHandle(mutex);
            lockFailed("taken", error);
        }
    }
}

}  // namespace tessaron::platform::windows
