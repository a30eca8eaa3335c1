#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Metabase.h"
#include "platform/WindowsPath.h"
#include "platform/metabase/MetabaseErrors.h"
#include "platform/metabase/MetabaseSchema.h"

namespace tessaron::metabase_properties {

// The directory service's property cache of one object, over texts as the
// metabase keeps them (MetabaseSchema): Put records a text under the
// property's own spelling (a bit of AccessFlags changes AccessFlags), Get
// reads the text the object sees (put, else committed) back as a value.
// Each store that keeps metabase keys as texts answers Get and Put through
// these rules, so they agree on every property.

using Pending = std::vector<std::pair<std::string, std::string>>;
inline constexpr std::string_view kKeyType = "KeyType";

inline bool isServerClass(std::string_view className) {
    return className == "IIsWebServer" || className == "IIsFtpServer";
}
inline bool isWebDirectoryClass(std::string_view className) {
    return className == "IIsWebVirtualDir" || className == "IIsWebDirectory";
}

// The text put last under the name (without regard to case).
inline std::optional<std::string_view> pendingText(const Pending& pending, std::string_view name) {
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
        if (equalsIgnoreCase(it->first, name)) return std::string_view(it->second);
    }
    return std::nullopt;
}

// Records the text under the name, replacing an earlier one.
inline void putText(Pending& pending, std::string_view name, std::string text) {
    for (auto& [pendingName, value] : pending) {
        if (equalsIgnoreCase(pendingName, name)) {
            value = std::move(text);
            return;
        }
    }
    pending.emplace_back(std::string(name), std::move(text));
}

// Get(property) of an object of the class and name; `seen(name)` gives the
// text the object sees under a property's own spelling, nullopt when unset.
// Throws PlatformError as the directory service does.
template <typename Seen>
MetabaseValue get(const std::string& property, std::string_view className, std::string_view name,
                  const Pending& pending, Seen&& seen) {
    namespace schema = metabase_schema;
    if (equalsIgnoreCase(property, "Class")) return std::string(className);
    if (equalsIgnoreCase(property, "Name")) return std::string(name);
    if (equalsIgnoreCase(property, kKeyType)) {
        // The key's class, unless a new one is put and not yet committed.
        if (const auto put = pendingText(pending, kKeyType)) return std::string(*put);
        return std::string(className);
    }
    const auto info = schema::lookup(property);
    if (info.kind == schema::Kind::AccessBit) {
        const auto flags = seen(schema::kAccessFlags);
        if (!flags) throw metabase_error::propertyNotInCache();
        return (schema::parseAccessFlags(*flags).bits & info.bit) != 0;
    }
    const auto text = seen(info.name);
    if (!text) throw metabase_error::propertyNotInCache();
    if (equalsIgnoreCase(property, schema::kAccessFlags)) {
        return static_cast<long>(schema::parseAccessFlags(*text).bits);
    }
    return schema::fromText(info.kind, *text);
}

// Put(property, value): the text it records in pending. `seen` as for get.
template <typename Seen>
void put(Pending& pending, const std::string& property, const MetabaseValue& value, Seen&& seen) {
    namespace schema = metabase_schema;
    if (equalsIgnoreCase(property, "Class") || equalsIgnoreCase(property, "Name")) {
        throw metabase_error::invalidParameter();
    }
    if (equalsIgnoreCase(property, kKeyType)) {
        putText(pending, kKeyType, schema::toText(schema::Kind::Text, value));
        return;
    }
    const auto info = schema::lookup(property);
    if (info.kind == schema::Kind::AccessBit) {
        const bool on = schema::toText(info.kind, value) == "TRUE";
        auto flags = schema::parseAccessFlags(seen(schema::kAccessFlags).value_or("0"));
        flags.bits = on ? (flags.bits | info.bit) : (flags.bits & ~info.bit);
        putText(pending, schema::kAccessFlags, schema::formatAccessFlags(flags));
        return;
    }
    if (equalsIgnoreCase(property, schema::kAccessFlags) && std::holds_alternative<long>(value)) {
        schema::AccessFlags flags;
        flags.bits = static_cast<unsigned long>(std::get<long>(value));
        putText(pending, schema::kAccessFlags, schema::formatAccessFlags(flags));
        return;
    }
    putText(pending, info.name, schema::toText(info.kind, value));
}

// AppCreate (isolation 0 in-process, 1 out of process) and AppCreate2
// (mode 0 to 2): the root at the location becomes an application, its
// properties put as the provider sets them.
template <typename Seen>
void makeApplication(Pending& pending, std::string_view className, const std::string& location,
                     long isolation, Seen&& seen) {
    if (!isWebDirectoryClass(className)) throw metabase_error::methodNotSupported();
    if (isolation < 0 || isolation > 2) throw metabase_error::invalidParameter();
    putText(pending, "AppRoot", location);
    putText(pending, "AppIsolated", std::to_string(isolation));
    if (!seen("AppFriendlyName").has_value()) {
        putText(pending, "AppFriendlyName", "Default Application");
    }
}

// The text the metabase keeps for a value Get returned for the property: how
// a value read from any backend is compared with the texts put.
inline std::string storedText(std::string_view property, const MetabaseValue& value) {
    namespace schema = metabase_schema;
    if (equalsIgnoreCase(property, schema::kAccessFlags)) {
        if (const auto* bits = std::get_if<long>(&value)) {
            schema::AccessFlags flags;
            flags.bits = static_cast<unsigned long>(*bits);
            return schema::formatAccessFlags(flags);
        }
        if (const auto* text = std::get_if<std::string>(&value)) {
            return schema::formatAccessFlags(schema::parseAccessFlags(*text));
        }
    }
    return schema::toText(schema::lookup(property).kind, value);
}

}  // namespace tessaron::metabase_properties
