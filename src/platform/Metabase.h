#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Failure.h"

namespace tessaron {

// A metabase property value: text, boolean, integer or list of texts.
using MetabaseValue = std::variant<std::string, bool, long, std::vector<std::string>>;

// A child as MetabaseObject::ListChildren reports it; the views are valid
// during the call only.
struct MetabaseChildView {
    std::string_view className;  // Class()
    std::string_view name;       // Name()
    // The listed property's text, as metabaseValueText(Get(property)) gives
    // it; nullopt where that Get fails.
    std::optional<std::string_view> value;
};

// Text of a property value for display and comparison: text as is, a list
// joined by line breaks, booleans "True"/"False", integers in decimal.
std::string metabaseValueText(const MetabaseValue& value);

// One metabase object (a service, site, root or pool), with the directory
// service's semantics. Every operation throws PlatformError on failure.
class MetabaseObject {
public:
    virtual ~MetabaseObject() = default;

    // The key's class ("IIsWebServer") and name ("3", "ROOT").
    virtual std::string Class() const = 0;
    virtual std::string Name() const = 0;

    // The children, in the store's order.
    virtual std::vector<std::unique_ptr<MetabaseObject>> Children() = 0;

    // The children whose Class is className, in the store's order, each with
    // the text of one property: what Children() and each child's Class(),
    // Get(property) and Name() tell, which is how the default finds it.
    // Stores that keep their keys in memory answer without making an object
    // or a copy of a value per child. visit returns false to stop the
    // listing. Throws PlatformError when the children cannot be enumerated.
    using ChildVisitor = std::function<bool(const MetabaseChildView&)>;
    virtual void ListChildren(const std::string& className, const std::string& property,
                              const ChildVisitor& visit) {
        for (const auto& child : Children()) {
            const std::string childClass = child->Class();
            if (childClass != className) continue;
            std::optional<std::string> text;
            try {
                text = metabaseValueText(child->Get(property));
            } catch (const PlatformError&) {
                text.reset();
            }
            const std::string name = child->Name();
            std::optional<std::string_view> value;
            if (text) value = *text;
            if (!visit(MetabaseChildView{childClass, name, value})) return;
        }
    }
    // A new child, uncommitted until its SetInfo. Fails when the name exists.
    virtual std::unique_ptr<MetabaseObject> Create(const std::string& className,
                                                   const std::string& name) = 0;

    // Reads a property ("Class" and "Name" included). Fails when unset.
    virtual MetabaseValue Get(const std::string& property) = 0;
    // Sets a property in the object's cache, committed by SetInfo.
    virtual void Put(const std::string& property, const MetabaseValue& value) = 0;
    virtual void SetInfo() = 0;

    // Makes this root an application; AppCreate(true) and AppCreate2(0) are
    // in-process.
    virtual void AppCreate(bool inProcess) = 0;
    virtual void AppCreate2(int mode) = 0;
    // Starts a site.
    virtual void Start() = 0;
};

// The metabase, reached by "IIS://LocalHost/..." paths.
class Metabase {
public:
    virtual ~Metabase() = default;
    // Opens the object at the path; throws PlatformError when nothing is there.
    virtual std::unique_ptr<MetabaseObject> Open(const std::string& path) = 0;
    // The first number n, counting from 1, for which Open(parentPath + "/" + n)
    // fails (n in decimal). Stores that index their keys answer without
    // opening an object per number.
    virtual int FirstFreeNumber(const std::string& parentPath) {
        for (int n = 1;; ++n) {
            try {
                Open(parentPath + "/" + std::to_string(n));
            } catch (const PlatformError&) {
                return n;
            }
        }
    }
    // Makes every committed change durable. Stores that write through on each
    // commit do nothing here.
    virtual void Flush() {}
};

}  // namespace tessaron
