#pragma once

namespace tessaron::testing {

// A small Windows server as the run's stages expect it
// (TestMachine::smallServer): the panel under C:\Tessaron, the FrontPage 2002
// tool, the four working directories and, on Windows Server 2003, the DNS
// provider. The record of sampleSettings() describes it.
struct MachineLayout {
    int release = 2003;       // 2000 or 2003
    bool dnsProvider = true;  // the provider's WMI namespace is registered
    bool tempValue = true;    // the registry names a temporary folder
};

}  // namespace tessaron::testing
