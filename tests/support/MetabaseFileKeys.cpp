#include "support/MetabaseFileKeys.h"

#include <map>
#include <pugixml.hpp>
#include <stdexcept>
#include <string_view>

#include "platform/Text.h"

namespace tessaron::testing {
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

std::vector<app::preview::MetabaseKeyChange> diffMetabaseKeys(
    const std::vector<MetabaseFileKey>& before, const std::vector<MetabaseFileKey>& after) {
    std::map<std::string, const MetabaseFileKey*> former;
    for (const auto& key : before) former[asciiLower(key.location)] = &key;

    std::vector<app::preview::MetabaseKeyChange> changes;
    for (const auto& key : after) {
        const auto found = former.find(asciiLower(key.location));
        if (found == former.end()) {
            app::preview::MetabaseKeyChange change{
                app::preview::MetabaseKeyChange::Kind::Created, key.location, key.className, {}};
            for (const auto& property : key.properties) {
                change.properties.push_back({property.name, std::nullopt, property.value});
            }
            changes.push_back(std::move(change));
            continue;
        }
        const MetabaseFileKey& old = *found->second;
        former.erase(found);
        app::preview::MetabaseKeyChange change{
            app::preview::MetabaseKeyChange::Kind::Changed, key.location, key.className, {}};
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
        app::preview::MetabaseKeyChange change{
            app::preview::MetabaseKeyChange::Kind::Removed, key.location, key.className, {}};
        for (const auto& property : key.properties) {
            change.properties.push_back({property.name, property.value, std::nullopt});
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

}  // namespace tessaron::testing
