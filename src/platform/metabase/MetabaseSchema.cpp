#include "platform/metabase/MetabaseSchema.h"

#include <array>
#include <charconv>
#include <type_traits>

#include "platform/WindowsPath.h"
#include "platform/metabase/MetabaseErrors.h"
#include "platform/metabase/MetabaseIndex.h"

namespace tessaron::metabase_schema {
namespace {

constexpr std::array kProperties = {
    // Named bits of AccessFlags, in the order IIS writes them.
    PropertyInfo{"AccessRead", Kind::AccessBit, 0x00000001},
    PropertyInfo{"AccessWrite", Kind::AccessBit, 0x00000002},
    PropertyInfo{"AccessExecute", Kind::AccessBit, 0x00000004},
    PropertyInfo{"AccessSource", Kind::AccessBit, 0x00000010},
    PropertyInfo{"AccessScript", Kind::AccessBit, 0x00000200},
    PropertyInfo{"AccessNoRemoteWrite", Kind::AccessBit, 0x00000400},
    PropertyInfo{"AccessNoRemoteRead", Kind::AccessBit, 0x00001000},
    PropertyInfo{"AccessNoRemoteExecute", Kind::AccessBit, 0x00002000},
    PropertyInfo{"AccessNoRemoteScript", Kind::AccessBit, 0x00004000},
    PropertyInfo{"AccessNoPhysicalDir", Kind::AccessBit, 0x00008000},
    // Lists.
    PropertyInfo{"ServerBindings", Kind::List, 0},
    PropertyInfo{"SecureBindings", Kind::List, 0},
    PropertyInfo{"ScriptMaps", Kind::List, 0},
    PropertyInfo{"HttpCustomHeaders", Kind::List, 0},
    PropertyInfo{"HttpErrors", Kind::List, 0},
    PropertyInfo{"MimeMap", Kind::List, 0},
    PropertyInfo{"ApplicationDependencies", Kind::List, 0},
    PropertyInfo{"WebSvcExtRestrictionList", Kind::List, 0},
    PropertyInfo{"PeriodicRestartSchedule", Kind::List, 0},
    PropertyInfo{"InProcessIsapiApps", Kind::List, 0},
    // Booleans.
    PropertyInfo{"AllowAnonymous", Kind::Boolean, 0},
    PropertyInfo{"AnonymousOnly", Kind::Boolean, 0},
    PropertyInfo{"AnonymousPasswordSync", Kind::Boolean, 0},
    PropertyInfo{"AppAllowClientDebug", Kind::Boolean, 0},
    PropertyInfo{"AppAllowDebugging", Kind::Boolean, 0},
    PropertyInfo{"AspEnableParentPaths", Kind::Boolean, 0},
    PropertyInfo{"ContentIndexed", Kind::Boolean, 0},
    PropertyInfo{"DontLog", Kind::Boolean, 0},
    PropertyInfo{"EnableDefaultDoc", Kind::Boolean, 0},
    PropertyInfo{"EnableDocFooter", Kind::Boolean, 0},
    PropertyInfo{"LogInUTF8", Kind::Boolean, 0},
    PropertyInfo{"MSDOSDirOutput", Kind::Boolean, 0},
    PropertyInfo{"ServerAutoStart", Kind::Boolean, 0},
    PropertyInfo{"UseHostName", Kind::Boolean, 0},
    // Integers.
    PropertyInfo{"AppIsolated", Kind::Integer, 0},
    PropertyInfo{"AppPoolIdentityType", Kind::Integer, 0},
    PropertyInfo{"ConnectionTimeout", Kind::Integer, 0},
    PropertyInfo{"IdleTimeout", Kind::Integer, 0},
    PropertyInfo{"LogFilePeriod", Kind::Integer, 0},
    PropertyInfo{"LogFileTruncateSize", Kind::Integer, 0},
    PropertyInfo{"LogType", Kind::Integer, 0},
    PropertyInfo{"MaxBandwidth", Kind::Integer, 0},
    PropertyInfo{"MaxConnections", Kind::Integer, 0},
    PropertyInfo{"MaxEndpointConnections", Kind::Integer, 0},
    PropertyInfo{"PeriodicRestartTime", Kind::Integer, 0},
    PropertyInfo{"ServerListenBacklog", Kind::Integer, 0},
    PropertyInfo{"ServerSize", Kind::Integer, 0},
    PropertyInfo{"ServerState", Kind::Integer, 0},
    // Texts whose spelling IIS fixes (the program may write them otherwise).
    PropertyInfo{"AccessFlags", Kind::Text, 0},
    PropertyInfo{"AppFriendlyName", Kind::Text, 0},
    PropertyInfo{"AppPoolId", Kind::Text, 0},
    PropertyInfo{"AppRoot", Kind::Text, 0},
    PropertyInfo{"DefaultDoc", Kind::Text, 0},
    PropertyInfo{"LogFileDirectory", Kind::Text, 0},
    PropertyInfo{"Path", Kind::Text, 0},
    PropertyInfo{"ServerComment", Kind::Text, 0},
};

std::optional<long> parseInteger(std::string_view text) {
    long value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

PropertyInfo lookup(std::string_view name) {
    // Asked once for every property read or put: a site list asks it for
    // every site.
    const auto nameOf = [](std::uint32_t number) { return kProperties[number].name; };
    static const auto index = [&] {
        NumberIndex built;
        for (std::uint32_t number = 0; number < kProperties.size(); ++number) {
            built.insert(kProperties[number].name, number, nameOf);
        }
        return built;
    }();
    const auto number = index.find(name, nameOf);
    return number == NumberIndex::npos ? PropertyInfo{name, Kind::Text, 0} : kProperties[number];
}

std::string toText(Kind kind, const MetabaseValue& value) {
    return std::visit(
        [kind](const auto& data) -> std::string {
            using T = std::decay_t<decltype(data)>;
            if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                if (kind != Kind::List && kind != Kind::Text) throw metabase_error::typeMismatch();
                std::string joined;
                for (std::size_t i = 0; i < data.size(); ++i) {
                    if (i) joined += '\n';
                    joined += data[i];
                }
                return joined;
            } else if constexpr (std::is_same_v<T, bool>) {
                if (kind == Kind::Integer) return data ? "1" : "0";
                return data ? "TRUE" : "FALSE";
            } else if constexpr (std::is_same_v<T, long>) {
                if (kind == Kind::Boolean || kind == Kind::AccessBit)
                    return data ? "TRUE" : "FALSE";
                return std::to_string(data);
            } else {
                if (kind == Kind::Integer) {
                    if (!parseInteger(trimBlanks(data))) throw metabase_error::typeMismatch();
                    return std::string(trimBlanks(data));
                }
                if (kind == Kind::Boolean || kind == Kind::AccessBit) {
                    if (equalsIgnoreCase(data, "true") || data == "1" || data == "-1")
                        return "TRUE";
                    if (equalsIgnoreCase(data, "false") || data == "0") return "FALSE";
                    throw metabase_error::typeMismatch();
                }
                return data;
            }
        },
        value);
}

MetabaseValue fromText(Kind kind, std::string_view text) {
    switch (kind) {
        case Kind::List:
            return splitLines(text);
        case Kind::Integer:
            if (auto number = parseInteger(trimBlanks(text))) return *number;
            break;
        case Kind::Boolean:
        case Kind::AccessBit:
            if (equalsIgnoreCase(text, "TRUE") || text == "1") return true;
            if (equalsIgnoreCase(text, "FALSE") || text == "0") return false;
            break;
        case Kind::Text:
            break;
    }
    // Text that does not fit the kind comes back as text.
    return std::string(text);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!values.empty() || start > 0) {
            const auto first = line.find_first_not_of('\t');
            line = first == std::string_view::npos ? std::string_view() : line.substr(first);
        }
        values.emplace_back(line);
        start = end + 1;
    }
    // IIS may close a list with a line break and indentation only.
    while (!values.empty() && values.back().find_first_not_of(" \t") == std::string::npos) {
        values.pop_back();
    }
    return values;
}

AccessFlags parseAccessFlags(std::string_view text) {
    AccessFlags flags;
    for (const auto& part : splitText(text, "|")) {
        const auto name = trimBlanks(part);
        if (name.empty()) continue;
        if (auto number = parseInteger(name)) {
            flags.bits |= static_cast<unsigned long>(*number);
            continue;
        }
        const auto info = lookup(name);
        if (info.kind == Kind::AccessBit) {
            flags.bits |= info.bit;
        } else {
            if (!flags.unknown.empty()) flags.unknown += " | ";
            flags.unknown += name;
        }
    }
    return flags;
}

std::string formatAccessFlags(const AccessFlags& flags) {
    std::string text;
    unsigned long named = 0;
    for (const auto& info : kProperties) {
        if (info.kind != Kind::AccessBit || (flags.bits & info.bit) == 0) continue;
        text += (text.empty() ? "" : " | ") + std::string(info.name);
        named |= info.bit;
    }
    if (const auto rest = flags.bits & ~named) {
        text += (text.empty() ? "" : " | ") + std::to_string(rest);
    }
    if (!flags.unknown.empty()) text += (text.empty() ? "" : " | ") + flags.unknown;
    return text.empty() ? "0" : text;
}

}  // namespace tessaron::metabase_schema
