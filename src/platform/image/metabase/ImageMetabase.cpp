// The metabase of a machine image: MetaBase.xml in IIS 6 layout, reached by
// "IIS://LocalHost/..." paths with the directory service's semantics.
#include <memory>

#include "platform/image/MachineImage.h"
#include "platform/image/metabase/MetabaseEntry.h"
#include "platform/image/metabase/MetabaseStore.h"
#include "platform/metabase/MetabaseErrors.h"

namespace tessaron {
namespace {

class ImageMetabase : public Metabase {
public:
    explicit ImageMetabase(const std::filesystem::path& file)
        : store_(std::make_shared<MetabaseStore>(file)) {}

    std::unique_ptr<MetabaseObject> Open(const std::string& path) override {
        const auto location = metabaseLocation(path);
        if (!location) throw metabase_error::pathNotFound();
        auto* key = current().document().find(*location);
        if (!key) throw metabase_error::pathNotFound();
        return std::make_unique<MetabaseEntry>(store_, *key);
    }

    int FirstFreeNumber(const std::string& parentPath) override {
        // Open fails for every number when the path is not one of this
        // machine's or the file cannot be read; otherwise for the numbers no
        // key has below the parent.
        const auto first = metabaseLocation(parentPath + "/1");
        if (!first) return 1;
        try {
            return current().document().firstFreeNumber(
                std::string_view(*first).substr(0, first->size() - 2));
        } catch (const PlatformError&) {
            return 1;
        }
    }

    void Flush() override { store_->flush(); }

private:
    // The store, read again when another program changed the file (or a
    // save failed) while no object of this one is open and no commit is
    // pending: a run that waited
    // for another run's lock, or starts long after the window read the
    // metabase, works on the file as it is now rather than having its save
    // refused at the end.
    MetabaseStore& current() {
        if (store_.use_count() == 1 && store_->stale()) {
            store_ = std::make_shared<MetabaseStore>(store_->file());
        }
        return *store_;
    }

    std::shared_ptr<MetabaseStore> store_;
};

}  // namespace

std::unique_ptr<Metabase> createImageMetabase(const std::filesystem::path& metabaseFile) {
    return std::make_unique<ImageMetabase>(metabaseFile);
}

}  // namespace tessaron
