#pragma once

// An installation run on a machine image with its own settings, options and
// progress log, for the suites that run stages or whole runs.

#include <filesystem>
#include <utility>

#include "platform/image/MachineImage.h"
#include "runcontext/ProgressLog.h"
#include "runcontext/RunContext.h"
#include "settings/SettingsRecord.h"
#include "support/TestMachine.h"

namespace tessaron::testing {

struct MachineRun {
    MachineRun(const std::filesystem::path& root, SettingsRecord record, InstallOptions chosen = {},
               Database* database = nullptr)
        : settings(std::move(record)),
          options(chosen),
          image(root, database),
          run(settings, options, image, log) {}

    SettingsRecord settings;
    InstallOptions options;
    MachineImage image;
    ProgressLog log;
    RunContext run;
};

// The machine of a run that owns it; a base ahead of MachineRun, so that the
// machine is there before the run opens it and goes after it.
struct OwnedMachine {
    TestMachine machine;
};

// A run on a machine of its own (usually a copy of a sample).
struct RunOnOwnMachine : OwnedMachine, MachineRun {
    RunOnOwnMachine(TestMachine own, SettingsRecord record, InstallOptions chosen = {},
                    Database* database = nullptr)
        : OwnedMachine{std::move(own)},
          MachineRun(machine.root(), std::move(record), chosen, database) {}
};

}  // namespace tessaron::testing
