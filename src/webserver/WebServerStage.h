#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runcontext/RunContext.h"

namespace tessaron {

// Site numbers the web-server stage holds for the append step and the run's
// caller: a created site's number, or the Name of a site taken over. FTP and
// preview are empty when their step did not run. The shared secure step holds
// "0" from its start until it knows its site's number, and none when it did
// not run; the run keeps it in the record's SharedSecureSVC for a next run.
struct HeldSiteNumbers {
    std::string ftp;
    std::string preview;
    std::optional<std::string> sharedSecure = std::nullopt;
};

// What the web-server stage returns.
struct WebServerResult {
    // The numbers of the sites it set up, for the append step and the run's
    // caller.
    HeldSiteNumbers held = {};
    // True when an error line ended the stage: the append step must not run.
    bool endedOnError = false;
};

// The web-server stage: the application pool (Windows Server 2003 only), the
// control panel site, the FTP site, the shared secure and the website preview
// sites, each reported to the progress log. The settings record is only
// read. Every commit is saved to the metabase's file before it returns,
// however the stage ended; a save that fails is an ERROR line naming the file
// and the reason, sets RunError and ends the stage on error, so that
// config.inc never names sites the file does not hold. A release that cannot
// be read ends the stage the same way.
WebServerResult runWebServerStage(RunContext& run);

// Completes the body of config.inc that this run put in place (writtenBody,
// as the configuration file step returned it) with the site
// lines: MainFTPSVC (when FTP is on and of a known type), the shared secure
// and the preview lines, in place of the former site lines the body carried,
// in one rewrite. The numbers are those the stage held, else the record's
// (read from the former file). Without such a body config.inc is left as it
// is and one line says why. A rewrite that fails leaves the file as the body
// step put it, logs an ERROR line and sets RunError.
void AppendSiteSettings(RunContext& run, const std::optional<std::vector<std::string>>& writtenBody,
                        const HeldSiteNumbers& held);

}  // namespace tessaron
