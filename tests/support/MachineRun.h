#pragma once

// An installation run on a test machine with its own settings, options and
// progress log, for the suites that run stages or whole runs.

#include <functional>
#include <memory>
#include <optional>

#include "platform/image/MachineImage.h"
#include "runcontext/ProgressLog.h"
#include "runcontext/RunContext.h"
#include "settings/SettingsRecord.h"
#include "support/SampleSettings.h"
#include "support/TestMachine.h"

namespace tessaron::testing {

// The run opens the machine as an image; a decorator puts a platform of its
// own in front of that image (a metabase that fails chosen operations, ...),
// and the run goes through it.
using PlatformDecorator = std::function<std::unique_ptr<Platform>(Platform& image)>;

struct MachineRun {
    // A run on a machine the caller keeps (several runs may follow each
    // other on it).
    explicit MachineRun(const TestMachine& machine, SettingsRecord record = sampleSettings(),
                        InstallOptions chosen = {}, Database* database = nullptr,
                        const PlatformDecorator& decorate = {});
    // A run on a machine handed over to it, which goes with the run.
    explicit MachineRun(TestMachine&& machine, SettingsRecord record = sampleSettings(),
                        InstallOptions chosen = {}, Database* database = nullptr,
                        const PlatformDecorator& decorate = {});
    MachineRun(const MachineRun&) = delete;
    MachineRun& operator=(const MachineRun&) = delete;

private:
    // First, so that a machine handed over is there before the image opens it
    // and goes after it.
    std::optional<TestMachine> own_;

public:
    const TestMachine& machine;
    SettingsRecord settings;
    InstallOptions options;
    MachineImage image;
    std::unique_ptr<Platform> decorated;  // null without a decorator
    ProgressLog log;
    RunContext run;

private:
    MachineRun(std::optional<TestMachine> own, const TestMachine* other, SettingsRecord record,
               InstallOptions chosen, Database* database, const PlatformDecorator& decorate);
};

}  // namespace tessaron::testing
