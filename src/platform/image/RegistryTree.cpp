#include "platform/image/RegistryTree.h"

#include <set>

#include "platform/WindowsPath.h"

namespace tessaron {

std::string registryKeyId(const std::string& path) {
    std::string id = asciiLower(path);
    while (!id.empty() && id.back() == '\\') id.pop_back();
    return id;
}

RegistryKey& RegistryTree::addKey(const std::string& path) {
    auto id = registryKeyId(path);
    auto [position, added] = keys_.try_emplace(id);
    if (added) {
        position->second.path = path;
        while (!position->second.path.empty() && position->second.path.back() == '\\') {
            position->second.path.pop_back();
        }
    }
    return position->second;
}

void RegistryTree::deleteKey(const std::string& path) {
    const auto id = registryKeyId(path);
    const auto below = id + "\\";
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == id || it->first.compare(0, below.size(), below) == 0) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
}

void RegistryTree::setValue(const std::string& keyPath, RegistryEntry entry) {
    auto& key = addKey(keyPath);
    for (auto& existing : key.values) {
        if (equalsIgnoreCase(existing.name, entry.name)) {
            existing = std::move(entry);
            return;
        }
    }
    key.values.push_back(std::move(entry));
}

void RegistryTree::deleteValue(const std::string& keyPath, const std::string& name) {
    auto& key = addKey(keyPath);
    std::erase_if(key.values,
                  [&](const RegistryEntry& entry) { return equalsIgnoreCase(entry.name, name); });
}

const RegistryKey* RegistryTree::findKey(const std::string& path) const {
    const auto found = keys_.find(registryKeyId(path));
    return found == keys_.end() ? nullptr : &found->second;
}

bool RegistryTree::keyExists(const std::string& path) const {
    const auto id = registryKeyId(path);
    if (keys_.count(id)) return true;
    const auto below = id + "\\";
    const auto next = keys_.lower_bound(below);
    return next != keys_.end() && next->first.compare(0, below.size(), below) == 0;
}

std::vector<std::string> RegistryTree::subKeys(const std::string& path) const {
    const auto parent = registryKeyId(path);
    const auto below = parent + "\\";
    std::vector<std::string> result;
    std::set<std::string> seen;
    for (auto it = keys_.lower_bound(below);
         it != keys_.end() && it->first.compare(0, below.size(), below) == 0; ++it) {
        const auto rest = it->first.find('\\', below.size());
        const auto childId = it->first.substr(0, rest);
        if (!seen.insert(childId).second) continue;
        // Keep the case in which the child (or the key that implies it) is written.
        result.push_back(it->second.path.substr(0, childId.size()));
    }
    return result;
}

const RegistryEntry* RegistryTree::findValue(const std::string& keyPath,
                                             const std::string& name) const {
    const auto* key = findKey(keyPath);
    if (!key) return nullptr;
    for (const auto& entry : key->values) {
        if (equalsIgnoreCase(entry.name, name)) return &entry;
    }
    return nullptr;
}

}  // namespace tessaron
