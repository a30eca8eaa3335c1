#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/image/MachineImage.h"
#include "runcontext/RunContext.h"
#include "settings/SettingsRecord.h"
#include "support/MachineRun.h"
#include "support/SampleSettings.h"
#include "support/TestMachine.h"

namespace tessaron::testing {

// The command lines in the image's commands.log, without their line ends.
std::vector<std::string> commandsLogLines(const TestMachine& machine);

// A run on a machine image with its own log and options.
struct RunFixture : MachineRun {
    explicit RunFixture(const TestMachine& machine, SettingsRecord record = sampleSettings())
        : MachineRun(machine.root(), std::move(record)) {}
};

}  // namespace tessaron::testing
