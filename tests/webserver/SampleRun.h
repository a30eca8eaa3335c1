#pragma once

// Whole installation runs on a copy of the Windows Server 2003 sample, as the
// progress window performs them, and what tests read back from them.

#include <functional>
#include <string>

#include "StageMachine.h"
#include "platform/image/MachineImage.h"
#include "runcontext/RunContext.h"
#include "support/Fixtures.h"
#include "support/MachineRun.h"

namespace tessaron::testing {

inline const std::string kConfig = "C:\\Tessaron\\panel\\config.inc";

// A filled-in settings window on the sample machine, every site new.
SettingsRecord wholeRunSettings();

// The log of a run on the sample up to the web-server stage.
inline const Lines& kBeforeSites = kSample2003LogBeforeSites;

// The lines of a file, without their CR LF.
Lines fileLines(const std::string& text);
// The lines after the 69 of the body.
Lines tailOf(const std::string& text);

// A copy of the sample, changed by `prepare` before anything reads it.
TestMachine preparedSample(const std::function<void(const TestMachine&)>& prepare);

struct SampleRun : RunOnOwnMachine {
    explicit SampleRun(SettingsRecord record, InstallOptions chosen,
                       const std::function<void(const TestMachine&)>& prepare = {})
        : RunOnOwnMachine(preparedSample(prepare), std::move(record), chosen) {}
};

}  // namespace tessaron::testing
