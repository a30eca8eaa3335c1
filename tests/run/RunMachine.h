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

// A small Windows server in a temporary machine image, as the run's stages
// expect it: the panel under C:\Tessaron, the FrontPage 2002 tool, the four
// working directories and, on Windows Server 2003, the DNS provider.
struct MachineLayout {
    int release = 2003;       // 2000 or 2003
    bool dnsProvider = true;  // the provider's WMI namespace is registered
    bool tempValue = true;    // the registry names a temporary folder
};

// The record of sampleSettings() describes it.
void writeSmallServer(const TestMachine& machine, const MachineLayout& layout = {});

// The command lines in the image's commands.log, without their line ends.
std::vector<std::string> commandsLogLines(const TestMachine& machine);

// A run on a machine image with its own log and options.
struct RunFixture : MachineRun {
    explicit RunFixture(const TestMachine& machine, SettingsRecord record = sampleSettings())
        : MachineRun(machine.root(), std::move(record)) {}
};

}  // namespace tessaron::testing
