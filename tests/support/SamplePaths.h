#pragma once

// Where the sample machines of the tests keep the files a run changes.

#include <string>

namespace tessaron::testing {

inline const std::string kConfigInc = "C:\\Tessaron\\panel\\config.inc";
inline const std::string kMetabase = "C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml";

}  // namespace tessaron::testing
