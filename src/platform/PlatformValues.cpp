#include <string>
#include <type_traits>

#include "platform/Metabase.h"
#include "platform/RegistryValue.h"
#include "platform/SystemQueries.h"
#include "platform/WindowsPath.h"

namespace tessaron {

std::string registryValueText(const RegistryValue& value) {
    return std::visit(
        [](const auto& data) -> std::string {
            using T = std::decay_t<decltype(data)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return data;
            } else if constexpr (std::is_same_v<T, std::uint32_t>) {
                return std::to_string(data);
            } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                std::string joined;
                for (const auto& item : data) joined += (joined.empty() ? "" : " ") + item;
                return joined;
            } else {
                return {};
            }
        },
        value);
}

std::string metabaseValueText(const MetabaseValue& value) {
    return std::visit(
        [](const auto& data) -> std::string {
            using T = std::decay_t<decltype(data)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return data;
            } else if constexpr (std::is_same_v<T, bool>) {
                return data ? "True" : "False";
            } else if constexpr (std::is_same_v<T, long>) {
                return std::to_string(data);
            } else {
                std::string joined;
                for (std::size_t i = 0; i < data.size(); ++i) joined += (i ? "\n" : "") + data[i];
                return joined;
            }
        },
        value);
}

std::string SystemQueries::GetProgramFilesDir() {
    return trimSpaces(registryValueText(
        ReadRegistryValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir")));
}

std::optional<int> SystemQueries::GetServerOSVersion() {
    return releaseFromVersion(OperatingSystemVersion());
}

std::optional<int> releaseFromVersion(const std::string& version) {
    const auto parts = splitText(version, ".");
    if (parts.size() < 2 || parts[0] != "5") return std::nullopt;
    if (parts[1] == "0") return 2000;
    if (parts[1] == "2") return 2003;
    return std::nullopt;
}

}  // namespace tessaron
