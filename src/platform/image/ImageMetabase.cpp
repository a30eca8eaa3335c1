// Placeholder until the metabase store lands: every open fails as on a
// machine without IIS.
#include "platform/Failure.h"
#include "platform/image/MachineImage.h"

namespace tessaron {
namespace {
class AbsentMetabase : public Metabase {
public:
    std::unique_ptr<MetabaseObject> Open(const std::string&) override {
        throw PlatformError(error_number::kPathNotFoundHresult,
                            "The system cannot find the path specified.");
    }
};
}  // namespace

std::unique_ptr<Metabase> createImageMetabase(const std::filesystem::path&) {
    return std::make_unique<AbsentMetabase>();
}

}  // namespace tessaron
