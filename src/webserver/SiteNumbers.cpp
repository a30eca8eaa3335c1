#include "webserver/SiteNumbers.h"

#include "platform/Failure.h"

namespace tessaron {

int FindFreeSiteNumber(Metabase& metabase, const std::string& servicePath) {
    return metabase.FirstFreeNumber(servicePath);
}

std::string FindSiteByComment(MetabaseObject& service, const std::string& className,
                              const std::string& text) {
    std::string result = "0";
    for (const auto& child : service.Children()) {
        if (child->Class() != className) continue;
        try {
            if (metabaseValueText(child->Get("ServerComment")) == text) result = child->Name();
        } catch (const PlatformError&) {
            // No display name: not the site looked for.
        }
    }
    return result;
}

}  // namespace tessaron
