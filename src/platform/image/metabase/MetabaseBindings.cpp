#include "platform/image/metabase/MetabaseBindings.h"

#include <algorithm>
#include <iterator>

#include "platform/metabase/SiteBindingRules.h"

namespace tessaron {
namespace {

using site_bindings::Binding;
using site_bindings::forEachBinding;
using site_bindings::holdsOneOf;
using site_bindings::kProperties;

}  // namespace

bool isStarted(const MetabaseDocument& document, const MetabaseKey& key) {
    const auto text = document.propertyView(key, "ServerAutoStart");
    return text && site_bindings::startedText(*text);
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
                forEachBinding(text, [&](const Binding& binding, std::string_view) {
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
        const std::vector<Binding> own = site_bindings::bindingsOf(*ownText);
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
