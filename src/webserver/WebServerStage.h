#pragma once

#include <string>

#include "run/RunContext.h"

namespace tessaron {

// Site numbers the web-server stage holds for the append step: empty when the
// step that would set them did not run.
struct HeldSiteNumbers {
    std::string ftp;
    std::string preview;
};

// The web-server stage. Returns false when an error line ended the stage, in
// which case the append step must not run.
bool RunWebServerStage(RunContext& run, HeldSiteNumbers& held);

// Appends the site lines to config.inc.
void AppendSiteSettings(RunContext& run, const HeldSiteNumbers& held);

}  // namespace tessaron
