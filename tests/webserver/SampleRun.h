#pragma once

// Whole installation runs on a copy of the Windows Server 2003 sample, as the
// progress window performs them, and what tests read back from them.

#include <functional>
#include <string>

#include "WebServerStageRun.h"
#include "support/Fixtures.h"
#include "support/MachineRun.h"
#include "support/TestMachine.h"

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

// A copy of the sample, changed by `prepare` before anything reads it (a
// run takes it over).
TestMachine preparedSample(const std::function<void(const TestMachine&)>& prepare);

}  // namespace tessaron::testing
