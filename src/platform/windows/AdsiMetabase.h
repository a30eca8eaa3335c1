#pragma once

#include <memory>
#include <string>

#include "platform/Metabase.h"

namespace tessaron::platform::windows {

// The metabase through the directory service's IIS provider: each path is
// bound with CoGetObject("IIS://LocalHost/...") and used as a late-bound
// automation object (Get, Put, SetInfo, Create, _NewEnum, Class, Name,
// AppCreate, AppCreate2, Start). Each SetInfo commits through the provider,
// so Flush has nothing left to do.
class AdsiMetabase : public Metabase {
public:
    std::unique_ptr<MetabaseObject> Open(const std::string& path) override;
};

}  // namespace tessaron::platform::windows
