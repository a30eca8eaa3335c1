#include "platform/image/ImagePanelComponent.h"

#include <fstream>

#include "platform/CommandLineQuoting.h"
#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "platform/WindowsPath.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageSystemQueries.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

constexpr long kComponentFailure = static_cast<long>(0x80004005);

bool sameEntry(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// True when the program is the named tool: by name alone, or in the given folder.
bool isTool(const ImagePaths& paths, const std::string& program, const std::string& toolName,
            const std::optional<ResolvedPath>& toolFolder) {
    const auto name = foldNameCase(lastPathPart(program));
    if (name != toolName && name != toolName + ".exe") return false;
    const auto folder = pathFolder(program);
    if (folder.empty()) return true;
    const auto resolved = paths.resolve(folder);
    return resolved && resolved->exists && toolFolder && toolFolder->exists &&
           sameEntry(resolved->host, toolFolder->host);
}

// True when one of the arguments names the file (relative names are taken in
// the WBEM folder) and that file exists in the WBEM folder.
bool namesFileInFolder(const ImagePaths& paths, const std::vector<std::string>& arguments,
                       const std::string& fileName, const std::string& wbemFolder,
                       const std::optional<ResolvedPath>& wbem) {
    if (!wbem || !wbem->exists) return false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const auto& argument = arguments[i];
        if (argument.empty() || argument[0] == '/' || argument[0] == '-') continue;
        const auto windowsPath = argument.size() >= 2 && argument[1] == ':'
                                     ? argument
                                     : withTrailingBackslash(wbemFolder) + argument;
        const auto file = paths.resolve(windowsPath);
        if (!file || !file->exists || fs::is_directory(file->host)) continue;
        if (foldNameCase(utf8FromHostPath(file->host.filename())) != fileName) continue;
        if (sameEntry(file->host.parent_path(), wbem->host)) return true;
    }
    return false;
}

bool hasSwitch(const std::vector<std::string>& arguments, const std::string& name) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (equalsIgnoreCase(arguments[i], "/" + name) ||
            equalsIgnoreCase(arguments[i], "-" + name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ImagePanelComponent::ComputerName() {
    const auto name = registry_.readText(registry_keys::kComputerName, "ComputerName");
    if (name.empty()) {
        throw PlatformError(kComponentFailure, "The machine has no computer name in its registry.");
    }
    return name;
}

void ImagePanelComponent::Execute(const std::string& commandLine) {
    const auto log = paths_.root() / "commands.log";
    if (isReadOnlyEntry(log))
        throw PlatformError(error_number::kPermissionDenied, "Permission denied");
    {
        std::ofstream out(log, std::ios::binary | std::ios::app);
        out << commandLine << '\n';
        out.close();
        if (!out) throw PlatformError(error_number::kPermissionDenied, "Permission denied");
    }
    applyEffects(splitCommandLine(commandLine));
}

void ImagePanelComponent::applyEffects(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return;
    ImageSystemQueries system(registry_);
    auto systemDir = system.GetSystemDir();
    if (systemDir.empty()) return;
    systemDir.pop_back();  // the terminating NUL
    const auto wbemFolder = systemDir + "\\WBEM";
    const auto systemFolder = paths_.resolve(systemDir);
    const auto wbem = paths_.resolve(wbemFolder);

    const auto& program = arguments.front();
    if (isTool(paths_, program, "mofcomp", wbem) &&
        namesFileInFolder(paths_, arguments, "dnsschema.mof", wbemFolder, wbem)) {
        progress_.schemaCompiled = true;
    } else if (isTool(paths_, program, "regsvr32", systemFolder) && !hasSwitch(arguments, "u") &&
               namesFileInFolder(paths_, arguments, "dnsprov.dll", wbemFolder, wbem)) {
        progress_.providerRegistered = true;
    } else {
        return;
    }
    const auto dnsNamespace = std::string(registry_keys::kWmiNamespaces) + "\\root\\MicrosoftDNS";
    if (progress_.schemaCompiled && progress_.providerRegistered &&
        !registry_.keyExists(dnsNamespace)) {
        registry_.addKey(dnsNamespace);
    }
}

}  // namespace tessaron
