#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Metabase.h"
#include "platform/image/metabase/MetabaseStore.h"

namespace tessaron {

// A metabase object bound to a key of the store, or a child created on one
// and not yet committed. Like a directory-service object it caches the
// properties put into it until SetInfo; reads see those first, then the
// store's committed values.
class MetabaseEntry : public MetabaseObject {
public:
    // A committed key.
    MetabaseEntry(std::shared_ptr<MetabaseStore> store, MetabaseKey& key);
    // A new child of parentLocation, committed by its first SetInfo.
    MetabaseEntry(std::shared_ptr<MetabaseStore> store, std::string className,
                  std::string parentLocation, std::string name);

    std::string Class() const override;
    std::string Name() const override;
    std::vector<std::unique_ptr<MetabaseObject>> Children() override;
    void ListChildren(const std::string& className, const std::string& property,
                      const ChildVisitor& visit) override;
    std::unique_ptr<MetabaseObject> Create(const std::string& className,
                                           const std::string& name) override;
    MetabaseValue Get(const std::string& property) override;
    void Put(const std::string& property, const MetabaseValue& value) override;
    void SetInfo() override;
    void AppCreate(bool inProcess) override;
    void AppCreate2(int mode) override;
    void Start() override;

private:
    // The property's text as this object sees it: put, else committed.
    std::optional<std::string_view> effective(std::string_view name) const;
    void makeApplication(long isolation);
    std::string location() const;

    using Pending = std::vector<std::pair<std::string, std::string>>;
    // What an object holds beyond its key, made on first need: the values
    // put and not yet committed, and for a new child its class, parent and
    // name until its first SetInfo. Objects stay small so: listing a service
    // makes one per site.
    struct Local {
        Pending pending;
        std::string className;
        std::string parentLocation;
        std::string name;
    };
    const Pending& pending() const;
    Local& local();

    std::shared_ptr<MetabaseStore> store_;
    MetabaseKey* key_ = nullptr;  // null until committed
    std::unique_ptr<Local> local_;
};

}  // namespace tessaron
