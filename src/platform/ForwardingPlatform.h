#pragma once

#include <memory>

#include "platform/Platform.h"

namespace tessaron {

// A platform that hands every call to another one. A platform that changes
// one or two services of another derives from it and overrides only those.
class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    SystemQueries& System() override { return inner_.System(); }
    Wmi& Management() override { return inner_.Management(); }
    FileSystem& Files() override { return inner_.Files(); }
    Metabase& Iis() override { return inner_.Iis(); }
    Database& Databases() override { return inner_.Databases(); }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override {
        return inner_.CreatePanelComponent();
    }
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) override {
        return inner_.LockMachine(patience);
    }

protected:
    Platform& inner() { return inner_; }

private:
    Platform& inner_;
};

}  // namespace tessaron
