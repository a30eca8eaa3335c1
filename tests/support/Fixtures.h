#pragma once

// Fixtures: the files under tests/data and expected texts shared by suites.

#include <string>
#include <vector>

namespace tessaron::testing {

// The bytes of tests/data/<relativePath>. Throws when the file is missing,
// so that a lost fixture fails its test instead of comparing with nothing.
std::string fixtureBytes(const std::string& relativePath);

// The progress log of a run on the Windows Server 2003 sample up to its
// web-server stage: the checks and the configuration file.
inline const std::vector<std::string> kSample2003LogBeforeSites = {
    "Beginning Tessaron configuration...",
    "Checking installation integrity...",
    "DNS WMI provider OK.",
    "Accounts directory created.",
    "Temp directory created.",
    "Logfile directory OK.",
    "Writing configuration file...",
    "Configuration file written.",
};

}  // namespace tessaron::testing
