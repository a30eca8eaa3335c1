#include "platform/image/metabase/MetabaseBindings.h"

#include <algorithm>
#include <iterator>

namespace tessaron {
namespace {

// The two list properties whose bindings may not be held twice.
constexpr std::string_view kProperties[] = {"ServerBindings", "SecureBindings"};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// One "address:port:host" binding, viewing the property's text.
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

// Calls visit(binding) for each line of a list property's text.
template <typename Visit>
void forEachBinding(std::string_view text, Visit&& visit) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = trimmed(text.substr(0, end));
        if (!line.empty()) visit(Binding::parse(line));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

// True when one line of a list property's text is one of the bindings.
bool holdsOneOf(std::string_view text, const std::vector<Binding>& bindings) {
    bool held = false;
    forEachBinding(text, [&](const Binding& binding) {
        for (const auto& mine : bindings) held = held || mine == binding;
    });
    return held;
}

}  // namespace

bool isStarted(const MetabaseDocument& document, const MetabaseKey& key) {
    const auto text = document.propertyView(key, "ServerAutoStart");
    return text && (equalsIgnoreCase(*text, "TRUE") || *text == "1");
}

// The sites below a service as read from the file (unchanged when the index
// was built), by the hashes of their bindings and property: (hash, site)
// pairs sorted by hash, a site once for each of its bindings.
struct SiteBindings::ServiceIndex {
    std::string service;
    std::vector<const MetabaseKey*> sites;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;  // hash, number in sites

    template <typename Visit>
    void forEachSite(std::uint32_t hash, Visit&& visit) const {
        auto it = std::lower_bound(entries.begin(), entries.end(), std::pair{hash, 0u});
        for (; it != entries.end() && it->first == hash; ++it) visit(*sites[it->second]);
    }
};

SiteBindings::SiteBindings(MetabaseDocument& document) : document_(document) {}
SiteBindings::~SiteBindings() = default;

const SiteBindings::ServiceIndex& SiteBindings::indexFor(std::string_view service) {
    for (const auto& index : indexes_) {
        if (equalsIgnoreCase(index->service, service)) return *index;
    }
    auto index = std::make_unique<ServiceIndex>();
    index->service = service;
    auto& entries = index->entries;
    for (const auto* site : document_.children(service)) {
        if (site->changed()) continue;  // checked among the edited keys
        const auto number = static_cast<std::uint32_t>(index->sites.size());
        bool seen[std::size(kProperties)] = {};
        bool holds = false;
        // The first property of each name counts, as a read of it finds.
        document_.forEachReadProperty(*site, [&](std::string_view name, std::string_view text) {
            for (std::size_t property = 0; property < std::size(kProperties); ++property) {
                if (seen[property] || !equalsIgnoreCase(name, kProperties[property])) continue;
                seen[property] = holds = true;
                forEachBinding(text, [&](const Binding& binding) {
                    entries.emplace_back(binding.hash(property), number);
                });
            }
        });
        if (holds) index->sites.push_back(site);
    }
    std::sort(entries.begin(), entries.end());
    indexes_.push_back(std::move(index));
    return *indexes_.back();
}

bool SiteBindings::heldByAnotherStartedSite(const MetabaseKey& site) {
    const auto location = site.location();
    const auto service = location.substr(0, location.rfind('/'));
    const auto className = site.className();
    for (std::size_t property = 0; property < std::size(kProperties); ++property) {
        const auto name = kProperties[property];
        const auto ownText = document_.propertyView(site, name);
        if (!ownText) continue;
        std::vector<Binding> own;
        forEachBinding(*ownText, [&](const Binding& binding) { own.push_back(binding); });
        if (own.empty()) continue;

        const auto conflicts = [&](const MetabaseKey& other) {
            if (&other == &site || other.className() != className) return false;
            const auto text = document_.propertyView(other, name);
            return text && holdsOneOf(*text, own) && isStarted(document_, other);
        };
        // Sites as read from the file, unless they have changed since.
        const auto& index = indexFor(service);
        bool held = false;
        for (const auto& binding : own) {
            index.forEachSite(binding.hash(property), [&](const MetabaseKey& other) {
                held = held || (!other.changed() && conflicts(other));
            });
        }
        // Sites changed or created since loading.
        for (const auto* other : document_.editedKeys()) {
            held = held || (other->isChildOf(service) && conflicts(*other));
        }
        if (held) return true;
    }
    return false;
}

}  // namespace tessaron
