// registry.reg: the regedit export reader, on any bytes.
#include "FuzzInput.h"
#include "platform/Failure.h"
#include "platform/image/RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto file =
            tessaron::parseRegistryFile(tessaron::fuzz::asText(data, size), "registry.reg");
        // The keys below HKEY_LOCAL_MACHINE, as the image's queries walk them.
        for (const auto& key : file.tree.subKeys("HKEY_LOCAL_MACHINE")) {
            if (!file.tree.keyExists(key)) __builtin_trap();
            file.tree.findValue(key, "");
        }
    } catch (const tessaron::PlatformError&) {
        // Refused with its line: the expected answer to a damaged file.
    }
    return 0;
}
