#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/image/metabase/MetabaseDocument.h"

namespace tessaron {

// The binding check of Start: whether another started site of the same
// service (and class) holds one of a site's bindings, in ServerBindings or
// in SecureBindings, as IIS refuses to start a site then. A binding is
// "address:port:host"; an empty address (all unassigned addresses) is a
// value of its own, ports compare as numbers and host names without regard
// to case.
//
// The bindings of the sites as read from the file are indexed once per
// service, so starting a site costs a few lookups instead of parsing every
// site's bindings; sites changed or created since loading (the document's
// edited keys, few) are checked directly.
class SiteBindings {
public:
    explicit SiteBindings(MetabaseDocument& document);
    ~SiteBindings();

    // True when another started site below the site's parent, of the site's
    // class, holds one of the site's bindings in the same property.
    bool heldByAnotherStartedSite(const MetabaseKey& site);

private:
    struct ServiceIndex;
    const ServiceIndex& indexFor(std::string_view service);

    MetabaseDocument& document_;
    std::vector<std::unique_ptr<ServiceIndex>> indexes_;
};

// True when the key's ServerAutoStart is TRUE (or 1).
bool isStarted(const MetabaseDocument& document, const MetabaseKey& key);

}  // namespace tessaron
