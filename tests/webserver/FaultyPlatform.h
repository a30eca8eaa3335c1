#pragma once

// A metabase that fails chosen operations, for the failures a real file
// cannot produce.

#include <memory>
#include <string>
#include <vector>

#include "platform/ForwardingPlatform.h"
#include "support/MachineRun.h"

namespace tessaron::testing {

// One operation of the metabase that is to fail: the operation's name
// ("Open", "Create", "Put", "SetInfo", "AppCreate", "AppCreate2", "Start"),
// the path of the object it acts on or opens, compared without regard to
// case ("IIS://LocalHost/W3SVC/3/ROOT"), and, for Put, the property.
struct InjectedFault {
    std::string operation;
    std::string path;
    std::string property = {};
};
inline const std::string kInjectedText = "Catastrophic failure";

// The image's platform, with its metabase failing the given operations with
// kInjectedText.
class FaultyPlatform : public ForwardingPlatform {
public:
    FaultyPlatform(Platform& inner, std::vector<InjectedFault> faults);
    ~FaultyPlatform() override;
    Metabase& Iis() override;

private:
    std::unique_ptr<Metabase> metabase_;
};

// A run's decorator that puts a FaultyPlatform in front of the image.
PlatformDecorator faultyMetabase(std::vector<InjectedFault> faults);

}  // namespace tessaron::testing
