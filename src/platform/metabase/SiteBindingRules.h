#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "platform/metabase/MetabaseIndex.h"

namespace tessaron::site_bindings {

// How IIS tells that two sites hold the same binding, which it refuses when
// both are started: every backend's Start and the preview's check of it
// follow these rules.

// The two list properties whose bindings may not be held twice.
inline constexpr std::string_view kProperties[] = {"ServerBindings", "SecureBindings"};

inline std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// One "address:port:host" binding, viewing the property's text. An empty
// address (all unassigned addresses) is a value of its own, ports compare as
// numbers and host names without regard to case.
struct Binding {
    std::string_view address, port, host;

    static Binding parse(std::string_view text) {
        Binding binding;
        const auto first = text.find(':');
        binding.address = trimmed(text.substr(0, first));
        if (first == std::string_view::npos) return binding;
        const auto rest = text.substr(first + 1);
        const auto second = rest.find(':');
        binding.port = trimmed(rest.substr(0, second));
        while (binding.port.size() > 1 && binding.port.front() == '0')
            binding.port.remove_prefix(1);
        if (second != std::string_view::npos) binding.host = trimmed(rest.substr(second + 1));
        return binding;
    }
    bool operator==(const Binding& other) const {
        return address == other.address && port == other.port && equalsIgnoreCase(host, other.host);
    }
    // Equal for equal bindings of one property (each part hashed without
    // regard to case).
    std::uint32_t hash(std::size_t property) const {
        std::uint64_t value = property + 1;
        for (const auto part : {address, port, host}) {
            value = (value ^ nameTag(part)) * 0x9e3779b97f4a7c15ull;
        }
        return static_cast<std::uint32_t>(value >> 32);
    }
};

// Calls visit(binding, line) for each line of a list property's text.
template <typename Visit>
void forEachBinding(std::string_view text, Visit&& visit) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = trimmed(text.substr(0, end));
        if (!line.empty()) visit(Binding::parse(line), line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

// The bindings of a list property's text.
inline std::vector<Binding> bindingsOf(std::string_view text) {
    std::vector<Binding> bindings;
    forEachBinding(text,
                   [&](const Binding& binding, std::string_view) { bindings.push_back(binding); });
    return bindings;
}

// True when one line of a list property's text is one of the bindings.
inline bool holdsOneOf(std::string_view text, const std::vector<Binding>& bindings) {
    bool held = false;
    forEachBinding(text, [&](const Binding& binding, std::string_view) {
        for (const auto& mine : bindings) held = held || mine == binding;
    });
    return held;
}

// True for the text of a started site's ServerAutoStart ("TRUE", "True", 1).
inline bool startedText(std::string_view text) {
    return equalsIgnoreCase(text, "TRUE") || text == "1";
}

}  // namespace tessaron::site_bindings
