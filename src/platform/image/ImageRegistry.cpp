#include "platform/image/ImageRegistry.h"

#include <iostream>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/Failure.h"
#include "platform/WindowsPath.h"

namespace tessaron {
namespace {
constexpr std::string_view kHklm = "HKEY_LOCAL_MACHINE\\";
constexpr int kMaxExpansionDepth = 8;
// Steps (characters read, names looked up) one expansion may take: far more
// than any real environment needs, far less than a second's work.
constexpr std::size_t kMaxExpansionWork = 64 * kMaxExpandedLength;
constexpr long kInsufficientBuffer = static_cast<long>(0x8007007A);

std::string fullPath(const std::string& keyPath) {
    std::string relative = keyPath;
    while (!relative.empty() && relative.front() == '\\') relative.erase(0, 1);
    return std::string(kHklm) + relative;
}

// Values an environment variable or SystemRoot may come from.
bool isText(RegistryType type) {
    return type == RegistryType::String || type == RegistryType::ExpandString;
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
        case RegistryType::String:
            return entry->text;
        case RegistryType::ExpandString:
            return expand(entry->text);
        case RegistryType::Binary:
            return entry->bytes;
        case RegistryType::DWord:
            return entry->number;
        case RegistryType::MultiString:
            return entry->texts;
        default:
            return std::string();
    }
}

std::string ImageRegistry::readText(const std::string& keyPath,
                                    const std::string& valueName) const {
    return registryValueText(readValue(keyPath, valueName));
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

// One expansion of a text. The result is appended to one buffer as it is
// found, so nothing larger than the limit is ever built, and the work is
// counted, so that variables referring to one another many times over end
// as soon as the result cannot fit.
class ImageRegistry::Expansion {
public:
    explicit Expansion(const ImageRegistry& registry) {
        const auto* environment =
            registry.registry_.tree.findKey(fullPath(registry_keys::kEnvironment));
        if (environment) {
            for (const auto& entry : environment->values) {
                // The first of equal names counts, as for any look-up.
                environment_.emplace(asciiLower(entry.name), &entry);
            }
        }
        const auto* root =
            registry.registry_.tree.findValue(fullPath(registry_keys::kWindowsNt), "SystemRoot");
        if (root && isText(root->type)) systemRoot_ = root->text;
        if (systemRoot_.size() >= 2 && systemRoot_[1] == ':')
            systemDrive_ = systemRoot_.substr(0, 2);
    }

    // False when the result would be too long (or too costly to find).
    bool append(std::string_view text, int depth) {
        if (!charge(text.size())) return false;
        std::size_t position = 0;
        while (position < text.size()) {
            const auto open = text.find('%', position);
            if (open == std::string_view::npos) break;
            const auto close = text.find('%', open + 1);
            if (close == std::string_view::npos) break;
            const auto name = text.substr(open + 1, close - open - 1);
            if (!emit(text.substr(position, open - position))) return false;
            const auto value = name.empty() ? std::nullopt : variable(name, depth);
            if (value) {
                if (!(value->expandable ? append(value->text, depth + 1) : emit(value->text))) {
                    return false;
                }
                position = close + 1;
            } else if (name.empty()) {
                if (!emit("%%")) return false;
                position = close + 1;
            } else {
                // Not a variable: keep the first "%" and look again from the second.
                if (!emit("%")) return false;
                position = open + 1;
            }
        }
        return emit(text.substr(position));
    }

    std::string result;

private:
    struct Variable {
        std::string_view text;
        bool expandable;
    };

    // A variable with a value (an empty one counts as none).
    std::optional<Variable> variable(std::string_view name, int depth) {
        if (depth >= kMaxExpansionDepth || !charge(name.size())) return std::nullopt;
        const auto lower = asciiLower(name);
        std::optional<Variable> found;
        // SystemRoot comes before the key's own variables, windir after them.
        if (lower == "systemroot") {  // NOLINT(bugprone-branch-clone)
            found = Variable{systemRoot_, false};
        } else if (const auto entry = environment_.find(lower);
                   entry != environment_.end() && isText(entry->second->type)) {
            found =
                Variable{entry->second->text, entry->second->type == RegistryType::ExpandString};
        } else if (lower == "windir") {
            found = Variable{systemRoot_, false};
        } else if (lower == "systemdrive") {
            found = Variable{systemDrive_, false};
        }
        if (found && found->text.empty()) return std::nullopt;
        return found;
    }

    bool emit(std::string_view part) {
        length_ += utf16Length(part);
        if (length_ > kMaxExpandedLength) return false;
        result += part;
        return true;
    }

    bool charge(std::size_t steps) {
        work_ += steps + 1;
        return work_ <= kMaxExpansionWork;
    }

    static std::size_t utf16Length(std::string_view utf8) {
        std::size_t units = 0;
        for (const char c : utf8) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte & 0xC0) != 0x80) ++units;
            if (byte >= 0xF0) ++units;  // a pair of surrogates
        }
        return units;
    }

    std::unordered_map<std::string, const RegistryEntry*> environment_;
    std::string systemRoot_;
    std::string systemDrive_;
    std::size_t length_ = 0;
    std::size_t work_ = 0;
};

std::string ImageRegistry::expand(const std::string& text) const {
    Expansion expansion(*this);
    if (!expansion.append(text, 0)) {
        // What the system's expansion reports when the result does not fit
        // its buffer of 32,767 characters.
        throw PlatformError(kInsufficientBuffer,
                            "The data area passed to a system call is too small.");
    }
    return std::move(expansion.result);
}

void ImageRegistry::addKey(const std::string& keyPath) {
    const auto path = fullPath(keyPath);
    appendRegistryKey(file_, registry_.format, path);
    registry_.tree.addKey(path);
    registry_.format.endsWithLineEnd = true;
}

}  // namespace tessaron
