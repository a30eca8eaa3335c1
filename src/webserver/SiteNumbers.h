#pragma once

#include <string>

#include "platform/Metabase.h"

namespace tessaron {

// The two rules by which a site number is picked in the metabase.

// The first number n (from 1) for which service + "/" + n does not open:
// gaps are reused, and any failure to open ends the search.
int FindFreeSiteNumber(Metabase& metabase, const std::string& servicePath);

// The Name of the last child of the service whose Class is className and
// whose ServerComment equals text exactly (case-sensitive); "0" when none
// does. A child without a ServerComment does not match. Throws PlatformError
// when the service's children cannot be enumerated.
std::string FindSiteByComment(MetabaseObject& service, const std::string& className,
                              const std::string& text);

}  // namespace tessaron
