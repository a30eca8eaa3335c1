#include "platform/image/metabase/MetabaseEntry.h"

#include "platform/WindowsPath.h"
#include "platform/image/metabase/MetabaseLayout.h"
#include "platform/metabase/MetabaseErrors.h"
#include "platform/metabase/MetabaseIndex.h"
#include "platform/metabase/MetabasePropertyRules.h"
#include "platform/metabase/MetabaseSchema.h"

namespace tessaron {
namespace {

namespace schema = metabase_schema;
namespace properties = metabase_properties;
using properties::kKeyType;

std::string_view nameOf(std::string_view location) {
    const auto slash = location.rfind('/');
    return slash == std::string_view::npos ? location : location.substr(slash + 1);
}

// The file holds a list one value a line, indented by tabs, so a line break
// inside a value would split it on reading and a tab could be taken for
// indentation; a character XML cannot hold would leave a file no parser
// reads. Either is refused, as the directory service refuses a
// value it cannot store.
void checkStorable(const MetabaseValue& value, bool listProperty) {
    const auto storable = [](std::string_view text, bool inList) {
        return metabase_layout::xmlCanHold(text) &&
               (!inList || text.find_first_of("\r\n\t") == std::string_view::npos);
    };
    if (const auto* list = std::get_if<std::vector<std::string>>(&value)) {
        for (const auto& entry : *list) {
            if (!storable(entry, true)) throw metabase_error::invalidParameter();
        }
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        if (!storable(*text, listProperty)) throw metabase_error::invalidParameter();
    }
}

}  // namespace

MetabaseEntry::MetabaseEntry(std::shared_ptr<MetabaseStore> store, MetabaseKey& key)
    : store_(std::move(store)), key_(&key) {}

MetabaseEntry::MetabaseEntry(std::shared_ptr<MetabaseStore> store, std::string className,
                             std::string parentLocation, std::string name)
    : store_(std::move(store)),
      local_(std::make_unique<Local>(
          Local{{}, std::move(className), std::move(parentLocation), std::move(name)})) {}

const MetabaseEntry::Pending& MetabaseEntry::pending() const {
    static const Pending none;
    return local_ ? local_->pending : none;
}

MetabaseEntry::Local& MetabaseEntry::local() {
    if (!local_) local_ = std::make_unique<Local>();
    return *local_;
}

std::string MetabaseEntry::location() const {
    return key_ ? std::string(key_->location()) : local_->parentLocation + "/" + local_->name;
}

std::string MetabaseEntry::Class() const {
    return key_ ? std::string(key_->className()) : local_->className;
}

std::string MetabaseEntry::Name() const {
    if (!key_) return local_->name;
    return std::string(nameOf(key_->location()));
}

std::vector<std::unique_ptr<MetabaseObject>> MetabaseEntry::Children() {
    std::vector<std::unique_ptr<MetabaseObject>> children;
    if (!key_) return children;
    const auto keys = store_->document().children(key_->location());
    children.reserve(keys.size());
    for (auto* child : keys) {
        children.push_back(std::make_unique<MetabaseEntry>(store_, *child));
    }
    return children;
}

void MetabaseEntry::ListChildren(const std::string& className, const std::string& property,
                                 const ChildVisitor& visit) {
    if (!key_) return;
    auto& document = store_->document();
    // A text property is read where the document holds it. Other properties,
    // and the names Get answers itself, go through Get on an object of the
    // child, so the text is what Get gives.
    const auto info = schema::lookup(property);
    const bool asStored =
        info.kind == schema::Kind::Text && !equalsIgnoreCase(property, schema::kAccessFlags) &&
        !equalsIgnoreCase(property, "Class") && !equalsIgnoreCase(property, "Name") &&
        !equalsIgnoreCase(property, kKeyType);
    std::string text;
    for (auto* key : document.children(key_->location())) {
        auto& child = *key;
        if (!child.hasClass(className)) continue;
        std::optional<std::string_view> value;
        if (asStored) {
            value = document.propertyView(child, info.name);
        } else {
            try {
                text = metabaseValueText(MetabaseEntry(store_, child).Get(property));
                value = text;
            } catch (const PlatformError&) {
                value.reset();
            }
        }
        if (!visit(MetabaseChildView{className, nameOf(child.location()), value})) return;
    }
}

std::unique_ptr<MetabaseObject> MetabaseEntry::Create(const std::string& className,
                                                      const std::string& name) {
    if (!key_) throw metabase_error::pathNotFound();
    if (name.empty() || name.find('/') != std::string::npos || className.empty() ||
        !metabase_layout::xmlCanHold(name) || !metabase_layout::xmlCanHold(className)) {
        throw metabase_error::invalidParameter();
    }
    const std::string parent(key_->location());
    if (store_->document().find(parent + "/" + name)) throw metabase_error::alreadyExists();
    return std::make_unique<MetabaseEntry>(store_, className, parent, name);
}

std::optional<std::string_view> MetabaseEntry::effective(std::string_view name) const {
    if (const auto put = properties::pendingText(pending(), name)) return put;
    if (!key_) return std::nullopt;
    return store_->document().propertyView(*key_, name);
}

MetabaseValue MetabaseEntry::Get(const std::string& property) {
    return properties::get(property, Class(), Name(), pending(),
                           [this](std::string_view name) { return effective(name); });
}

void MetabaseEntry::Put(const std::string& property, const MetabaseValue& value) {
    checkStorable(value, schema::lookup(property).kind == schema::Kind::List);
    properties::put(local().pending, property, value,
                    [this](std::string_view name) { return effective(name); });
}

namespace {

// AccessFlags naming the same flags in another order (or spelling) are the
// same value: the key keeps the text it has.
bool sameFlagSet(std::string_view name, const std::optional<std::string>& committed,
                 std::string_view text) {
    if (!committed || !equalsIgnoreCase(name, schema::kAccessFlags)) return false;
    const auto before = schema::parseAccessFlags(*committed);
    const auto after = schema::parseAccessFlags(text);
    return before.bits == after.bits && before.unknown == after.unknown;
}

}  // namespace

void MetabaseEntry::SetInfo() {
    auto& document = store_->document();
    store_->checkWritable();
    if (key_) {
        bool changed = false;
        // Values equal to the committed ones change nothing, so the key keeps
        // its text in the file.
        for (const auto& [name, text] : pending()) {
            if (equalsIgnoreCase(name, kKeyType)) {
                changed |= key_->className() != text;
                document.setClassName(*key_, text);
            } else if (!sameFlagSet(name, document.property(*key_, name), text)) {
                changed |= document.property(*key_, name) != text;
                document.setProperty(*key_, name, text);
            }
        }
        if (changed) store_->markDirty();
        local_.reset();
        return;
    }
    if (!document.find(local_->parentLocation)) throw metabase_error::pathNotFound();
    const auto ownLocation = location();
    if (document.find(ownLocation)) throw metabase_error::alreadyExists();
    std::string className = local_->className;
    std::vector<std::pair<std::string, std::string>> properties;
    for (const auto& [name, text] : pending()) {
        if (equalsIgnoreCase(name, kKeyType)) {
            className = text;
        } else {
            properties.emplace_back(name, text);
        }
    }
    key_ = &document.add(className, ownLocation, std::move(properties));
    local_.reset();
    store_->markDirty();
}

void MetabaseEntry::makeApplication(long isolation) {
    properties::makeApplication(local().pending, Class(), location(), isolation,
                                [this](std::string_view name) { return effective(name); });
}

void MetabaseEntry::AppCreate(bool inProcess) {
    makeApplication(inProcess ? 0 : 1);
}

void MetabaseEntry::AppCreate2(int mode) {
    makeApplication(mode);
}

void MetabaseEntry::Start() {
    if (!properties::isServerClass(Class())) throw metabase_error::methodNotSupported();
    if (!key_) throw metabase_error::pathNotFound();
    auto& document = store_->document();
    if (store_->bindings().heldByAnotherStartedSite(*key_)) throw metabase_error::alreadyExists();
    if (isStarted(document, *key_)) return;
    store_->checkWritable();
    document.setProperty(*key_, "ServerAutoStart", "TRUE");
    store_->markDirty();
}

}  // namespace tessaron
