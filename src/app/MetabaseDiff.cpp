#include "app/MetabaseDiff.h"

#include <algorithm>
#include <map>
#include <pugixml.hpp>
#include <stdexcept>

#include "platform/WindowsPath.h"

namespace tessaron::app {
namespace {

// A list property keeps one value a line, indented in the file; the
// indentation is layout, not value.
std::string normalizedValue(std::string_view text) {
    std::string value;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        auto line = text.substr(start, end - start);
        const auto first = line.find_first_not_of(" \t\r");
        const auto last = line.find_last_not_of(" \t\r");
        if (start > 0) value += '\n';
        if (first != std::string_view::npos) value += line.substr(first, last - first + 1);
        start = end + 1;
    }
    return value;
}

const std::vector<std::string>& identityProperties() {
    static const std::vector<std::string> names = {"ServerComment", "ServerBindings",
                                                   "SecureBindings", "ServerAutoStart"};
    return names;
}

bool started(const std::string* value) {
    return value && (equalsIgnoreCase(*value, "TRUE") || *value == "1");
}

std::string parentOf(const std::string& location) {
    const auto slash = location.rfind('/');
    return slash == std::string::npos ? std::string() : location.substr(0, slash);
}

std::vector<std::string> bindingsOf(const MetabaseFileKey& key) {
    std::vector<std::string> bindings;
    if (const auto* value = key.find("ServerBindings")) {
        for (const auto& line : splitText(*value, "\n")) {
            if (!line.empty()) bindings.push_back(asciiLower(line));
        }
    }
    return bindings;
}

}  // namespace

const std::string* MetabaseFileKey::find(const std::string& name) const {
    for (const auto& property : properties) {
        if (property.name == name) return &property.value;
    }
    return nullptr;
}

std::vector<MetabaseFileKey> readMetabaseKeys(const std::string& xml) {
    std::vector<MetabaseFileKey> keys;
    if (xml.empty()) return keys;
    pugi::xml_document document;
    const auto parsed = document.load_buffer(xml.data(), xml.size(),
                                             pugi::parse_default & ~pugi::parse_wconv_attribute);
    if (!parsed)
        throw std::runtime_error(std::string("the metabase is not XML: ") + parsed.description());
    const auto properties = document.child("configuration").child("MBProperty");
    for (const auto& element : properties.children()) {
        if (element.type() != pugi::node_element) continue;
        MetabaseFileKey key;
        key.className = element.name();
        for (const auto& attribute : element.attributes()) {
            if (std::string_view(attribute.name()) == "Location") {
                key.location = attribute.value();
            } else {
                key.properties.push_back({attribute.name(), normalizedValue(attribute.value())});
            }
        }
        for (const auto& custom : element.children("Custom")) {
            key.properties.push_back({custom.attribute("Name").value(),
                                      normalizedValue(custom.attribute("Value").value())});
        }
        keys.push_back(std::move(key));
    }
    return keys;
}

std::vector<MetabaseKeyChange> diffMetabaseKeys(const std::vector<MetabaseFileKey>& before,
                                                const std::vector<MetabaseFileKey>& after) {
    std::map<std::string, const MetabaseFileKey*> former;
    for (const auto& key : before) former[asciiLower(key.location)] = &key;

    std::vector<MetabaseKeyChange> changes;
    for (const auto& key : after) {
        const auto found = former.find(asciiLower(key.location));
        if (found == former.end()) {
            MetabaseKeyChange change{
                MetabaseKeyChange::Kind::Created, key.location, key.className, {}};
            for (const auto& property : key.properties) {
                change.properties.push_back({property.name, std::nullopt, property.value});
            }
            changes.push_back(std::move(change));
            continue;
        }
        const MetabaseFileKey& old = *found->second;
        former.erase(found);
        MetabaseKeyChange change{MetabaseKeyChange::Kind::Changed, key.location, key.className, {}};
        for (const auto& property : key.properties) {
            const std::string* was = old.find(property.name);
            if (!was) {
                change.properties.push_back({property.name, std::nullopt, property.value});
            } else if (*was != property.value) {
                change.properties.push_back({property.name, *was, property.value});
            }
        }
        for (const auto& property : old.properties) {
            if (!key.find(property.name)) {
                change.properties.push_back({property.name, property.value, std::nullopt});
            }
        }
        if (!change.properties.empty() || old.className != key.className) {
            changes.push_back(std::move(change));
        }
    }
    for (const auto& key : before) {
        if (!former.count(asciiLower(key.location))) continue;
        MetabaseKeyChange change{MetabaseKeyChange::Kind::Removed, key.location, key.className, {}};
        for (const auto& property : key.properties) {
            change.properties.push_back({property.name, property.value, std::nullopt});
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

bool isSiteClass(const std::string& className) {
    return className == "IIsWebServer" || className == "IIsFtpServer";
}

std::vector<SiteTakeover> siteTakeovers(const std::vector<MetabaseKeyChange>& changes) {
    std::vector<SiteTakeover> takeovers;
    for (const auto& change : changes) {
        if (change.kind != MetabaseKeyChange::Kind::Changed || !isSiteClass(change.className)) {
            continue;
        }
        SiteTakeover takeover{change.location, {}, {}};
        bool renamed = false;
        for (const auto& property : change.properties) {
            for (const auto& name : identityProperties()) {
                if (property.name != name) continue;
                takeover.lost.push_back(property);
                if (name == "ServerComment") {
                    renamed = true;
                    takeover.formerName = property.before.value_or("");
                }
            }
        }
        // A site whose name stays is the run's own from an earlier run.
        if (renamed) takeovers.push_back(std::move(takeover));
    }
    return takeovers;
}

std::vector<ChosenSite> chosenSites(const std::vector<MetabaseKeyChange>& changes) {
    std::vector<ChosenSite> sites;
    for (const auto& change : changes) {
        if (change.kind == MetabaseKeyChange::Kind::Removed || !isSiteClass(change.className)) {
            continue;
        }
        for (const auto& property : change.properties) {
            if (property.name == "ServerComment" && property.after) {
                sites.push_back({*property.after, change.location,
                                 change.kind == MetabaseKeyChange::Kind::Created});
            }
        }
    }
    return sites;
}

std::vector<StartConflict> startConflicts(const std::vector<MetabaseKeyChange>& changes,
                                          const std::vector<MetabaseFileKey>& after) {
    std::map<std::string, const MetabaseFileKey*> keys;
    for (const auto& key : after) keys[asciiLower(key.location)] = &key;

    std::vector<StartConflict> conflicts;
    for (const auto& change : changes) {
        if (change.kind == MetabaseKeyChange::Kind::Removed || !isSiteClass(change.className)) {
            continue;
        }
        const auto found = keys.find(asciiLower(change.location));
        if (found == keys.end()) continue;
        const MetabaseFileKey& site = *found->second;
        if (started(site.find("ServerAutoStart"))) continue;
        const std::string service = asciiLower(parentOf(site.location));
        const auto mine = bindingsOf(site);
        for (const auto& other : after) {
            if (&other == &site || other.className != site.className ||
                asciiLower(parentOf(other.location)) != service ||
                !started(other.find("ServerAutoStart"))) {
                continue;
            }
            for (const auto& binding : bindingsOf(other)) {
                if (std::find(mine.begin(), mine.end(), binding) == mine.end()) continue;
                const auto* name = site.find("ServerComment");
                const auto* holder = other.find("ServerComment");
                conflicts.push_back({site.location, name ? *name : "", other.location,
                                     holder ? *holder : "", binding});
            }
        }
    }
    return conflicts;
}

}  // namespace tessaron::app
