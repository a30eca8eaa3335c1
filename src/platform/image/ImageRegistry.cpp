#include "platform/image/ImageRegistry.h"

#include <iostream>

#include "platform/WindowsPath.h"

namespace tessaron {
namespace {
constexpr std::string_view kHklm = "HKEY_LOCAL_MACHINE\\";
constexpr int kMaxExpansionDepth = 8;

std::string fullPath(const std::string& keyPath) {
    std::string relative = keyPath;
    while (!relative.empty() && relative.front() == '\\') relative.erase(0, 1);
    return std::string(kHklm) + relative;
}
}  // namespace

ImageRegistry::ImageRegistry(std::filesystem::path file)
    : file_(std::move(file)), registry_(readRegistryFile(file_)) {
    // Forms regedit imports with a warning are imported here too, and the
    // warning goes where regedit's would: to the person starting the program.
    for (const auto& warning : registry_.warnings) std::cerr << warning << '\n';
}

RegistryValue ImageRegistry::readValue(const std::string& keyPath,
                                       const std::string& valueName) const {
    const auto* entry = registry_.tree.findValue(fullPath(keyPath), valueName);
    if (!entry) return std::string();
    switch (entry->type) {
        case 1:
            return entry->text;
        case 2:
            return expand(entry->text);
        case 3:
            return entry->bytes;
        case 4:
            return entry->number;
        case 7:
            return entry->texts;
        default:
            return std::string();
    }
}

std::string ImageRegistry::readText(const std::string& keyPath,
                                    const std::string& valueName) const {
    return registryValueText(readValue(keyPath, valueName));
}

bool ImageRegistry::hasValue(const std::string& keyPath, const std::string& valueName) const {
    return registry_.tree.findValue(fullPath(keyPath), valueName) != nullptr;
}

bool ImageRegistry::keyExists(const std::string& keyPath) const {
    return registry_.tree.keyExists(fullPath(keyPath));
}

std::vector<std::string> ImageRegistry::subKeys(const std::string& keyPath) const {
    std::vector<std::string> result;
    for (auto& path : registry_.tree.subKeys(fullPath(keyPath))) {
        result.push_back(path.substr(kHklm.size()));
    }
    return result;
}

std::string ImageRegistry::expand(const std::string& text) const {
    return expand(text, 0);
}

std::string ImageRegistry::expand(const std::string& text, int depth) const {
    std::string result;
    std::size_t position = 0;
    while (position < text.size()) {
        const auto open = text.find('%', position);
        if (open == std::string::npos) break;
        const auto close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        const auto name = text.substr(open + 1, close - open - 1);
        const auto value = name.empty() ? std::string() : variable(name, depth);
        result += text.substr(position, open - position);
        if (!value.empty()) {
            result += value;
            position = close + 1;
        } else {
            // Not a variable: keep the first "%" and look again from the second.
            result += '%';
            position = open + 1;
            if (name.empty()) {
                result += '%';
                position = close + 1;
            }
        }
    }
    result += text.substr(position);
    return result;
}

std::string ImageRegistry::variable(const std::string& name, int depth) const {
    if (depth >= kMaxExpansionDepth) return {};
    const auto systemRoot = [this] {
        const auto* entry =
            registry_.tree.findValue(fullPath(registry_keys::kWindowsNt), "SystemRoot");
        return entry && (entry->type == 1 || entry->type == 2) ? entry->text : std::string();
    };
    if (equalsIgnoreCase(name, "SystemRoot")) return systemRoot();
    if (const auto* entry = registry_.tree.findValue(fullPath(registry_keys::kEnvironment), name);
        entry && (entry->type == 1 || entry->type == 2)) {
        return entry->type == 2 ? expand(entry->text, depth + 1) : entry->text;
    }
    if (equalsIgnoreCase(name, "windir")) return systemRoot();
    if (equalsIgnoreCase(name, "SystemDrive")) {
        const auto root = systemRoot();
        return root.size() >= 2 && root[1] == ':' ? root.substr(0, 2) : std::string();
    }
    return {};
}

void ImageRegistry::addKey(const std::string& keyPath) {
    const auto path = fullPath(keyPath);
    appendRegistryKey(file_, registry_.format, path);
    registry_.tree.addKey(path);
    registry_.format.endsWithLineEnd = true;
}

}  // namespace tessaron
