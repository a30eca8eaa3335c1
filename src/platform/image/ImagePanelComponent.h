#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/PanelComponent.h"
#include "platform/image/ImagePaths.h"
#include "platform/image/ImageRegistry.h"

namespace tessaron {

// What the image remembers of the DNS provider's installation commands, for
// as long as the machine image is open.
struct DnsProviderProgress {
    bool schemaCompiled = false;
    bool providerRegistered = false;
};

// The panel component of a machine image. Execute records each command line
// in commands.log (UTF-8, one line each, ended by a line feed) and applies
// the effect of the two DNS provider commands, which run with the system's
// WBEM folder as their working folder: once the schema compiler has compiled
// dnsschema.mof and the registration tool has registered dnsprov.dll, both
// lying in the WBEM folder, the WMI namespace root\MicrosoftDNS exists (its
// key is appended to registry.reg). Every other command only goes to the log.
class ImagePanelComponent : public PanelComponent {
public:
    ImagePanelComponent(ImageRegistry& registry, const ImagePaths& paths,
                        DnsProviderProgress& progress)
        : registry_(registry), paths_(paths), progress_(progress) {}

    std::string ComputerName() override;
    void Execute(const std::string& commandLine) override;

private:
    void applyEffects(const std::vector<std::string>& arguments);

    ImageRegistry& registry_;
    const ImagePaths& paths_;
    DnsProviderProgress& progress_;
};

}  // namespace tessaron
