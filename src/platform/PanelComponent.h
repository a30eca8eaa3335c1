#pragma once

#include <string>

namespace tessaron {

// The panel's own server component, as far as this program uses it.
class PanelComponent {
public:
    virtual ~PanelComponent() = default;
    // The machine's name. Throws PlatformError.
    virtual std::string ComputerName() = 0;
    // Runs a complete command line and returns when it has finished.
    // Throws PlatformError.
    virtual void Execute(const std::string& commandLine) = 0;
};

}  // namespace tessaron
