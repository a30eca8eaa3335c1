#include "platform/dryrun/DnsProviderCommands.h"

#include <algorithm>

#include "platform/CommandLineQuoting.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/WindowsPath.h"

namespace tessaron::dry_run {
namespace {

bool isTool(const std::string& program, const std::string& tool) {
    const std::string name = asciiLower(lastPathPart(program));
    return name == tool || name == tool + ".exe";
}

bool isSwitch(const std::string& argument) {
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

bool fileExists(FileSystem& files, const std::string& path) {
    try {
        return files.FileExists(path);
    } catch (const PlatformError&) {
        return false;
    }
}

// True when the command runs the tool on the named file in the WBEM folder
// (and, for regsvr32, does not unregister it).
bool runsToolOnFile(const std::vector<std::string>& arguments, const std::string& tool,
                    const std::string& fileName, const std::string& wbemFolder, FileSystem& files) {
    if (arguments.empty() || !isTool(arguments.front(), tool)) return false;
    const auto first = std::next(arguments.begin());
    const bool unregisters = std::any_of(first, arguments.end(), [](const std::string& argument) {
        return equalsIgnoreCase(argument, "/u") || equalsIgnoreCase(argument, "-u");
    });
    if (unregisters) return false;
    return std::any_of(first, arguments.end(), [&](const std::string& argument) {
        if (isSwitch(argument)) return false;
        const bool absolute = argument.size() >= 2 && argument[1] == ':';
        const std::string path = absolute ? argument : wbemFolder + "\\" + argument;
        return asciiLower(lastPathPart(path)) == fileName &&
               equalsIgnoreCase(pathFolder(path), wbemFolder) && fileExists(files, path);
    });
}

bool recorded(const std::vector<std::string>& commands, const std::string& tool,
              const std::string& fileName, const std::string& wbemFolder, FileSystem& files) {
    return std::any_of(commands.begin(), commands.end(), [&](const std::string& command) {
        return runsToolOnFile(splitCommandLine(command), tool, fileName, wbemFolder, files);
    });
}

}  // namespace

bool installsDnsProvider(const std::vector<std::string>& commands, const std::string& wbemFolder,
                         FileSystem& files) {
    return recorded(commands, "mofcomp", "dnsschema.mof", wbemFolder, files) &&
           recorded(commands, "regsvr32", "dnsprov.dll", wbemFolder, files);
}

}  // namespace tessaron::dry_run
