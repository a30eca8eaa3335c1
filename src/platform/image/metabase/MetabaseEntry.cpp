#include "platform/image/metabase/MetabaseEntry.h"

#include "platform/WindowsPath.h"
#include "platform/image/metabase/MetabaseErrors.h"
#include "platform/image/metabase/MetabaseIndex.h"
#include "platform/image/metabase/MetabaseLayout.h"
#include "platform/image/metabase/MetabaseSchema.h"

namespace tessaron {
namespace {

namespace schema = metabase_schema;
constexpr std::string_view kKeyType = "KeyType";

bool isServer(std::string_view className) {
    return className == "IIsWebServer" || className == "IIsFtpServer";
}

bool isWebDirectory(std::string_view className) {
    return className == "IIsWebVirtualDir" || className == "IIsWebDirectory";
}

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
    for (auto it = pending().rbegin(); it != pending().rend(); ++it) {
        if (equalsIgnoreCase(it->first, name)) return std::string_view(it->second);
    }
    if (!key_) return std::nullopt;
    return store_->document().propertyView(*key_, name);
}

MetabaseValue MetabaseEntry::Get(const std::string& property) {
    if (equalsIgnoreCase(property, "Class")) return Class();
    if (equalsIgnoreCase(property, "Name")) return Name();
    if (equalsIgnoreCase(property, kKeyType)) {
        // The key's class, unless a new one is put and not yet committed.
        for (const auto& [name, text] : pending()) {
            if (equalsIgnoreCase(name, kKeyType)) return std::string(text);
        }
        return Class();
    }
    const auto info = schema::lookup(property);
    if (info.kind == schema::Kind::AccessBit) {
        const auto flags = effective(schema::kAccessFlags);
        if (!flags) throw metabase_error::propertyNotInCache();
        return (schema::parseAccessFlags(*flags).bits & info.bit) != 0;
    }
    const auto text = effective(info.name);
    if (!text) throw metabase_error::propertyNotInCache();
    if (equalsIgnoreCase(property, schema::kAccessFlags)) {
        return static_cast<long>(schema::parseAccessFlags(*text).bits);
    }
    return schema::fromText(info.kind, *text);
}

void MetabaseEntry::putText(std::string_view name, std::string text) {
    auto& pending = local().pending;
    for (auto& [pendingName, value] : pending) {
        if (equalsIgnoreCase(pendingName, name)) {
            value = std::move(text);
            return;
        }
    }
    pending.emplace_back(std::string(name), std::move(text));
}

void MetabaseEntry::Put(const std::string& property, const MetabaseValue& value) {
    if (equalsIgnoreCase(property, "Class") || equalsIgnoreCase(property, "Name")) {
        throw metabase_error::invalidParameter();
    }
    checkStorable(value, schema::lookup(property).kind == schema::Kind::List);
    if (equalsIgnoreCase(property, kKeyType)) {
        putText(kKeyType, schema::toText(schema::Kind::Text, value));
        return;
    }
    const auto info = schema::lookup(property);
    if (info.kind == schema::Kind::AccessBit) {
        const bool on = schema::toText(info.kind, value) == "TRUE";
        auto flags = schema::parseAccessFlags(effective(schema::kAccessFlags).value_or("0"));
        flags.bits = on ? (flags.bits | info.bit) : (flags.bits & ~info.bit);
        putText(schema::kAccessFlags, schema::formatAccessFlags(flags));
        return;
    }
    if (equalsIgnoreCase(property, schema::kAccessFlags) && std::holds_alternative<long>(value)) {
        schema::AccessFlags flags;
        flags.bits = static_cast<unsigned long>(std::get<long>(value));
        putText(schema::kAccessFlags, schema::formatAccessFlags(flags));
        return;
    }
    putText(info.name, schema::toText(info.kind, value));
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
    if (!isWebDirectory(Class())) throw metabase_error::methodNotSupported();
    putText("AppRoot", location());
    putText("AppIsolated", std::to_string(isolation));
    if (!effective("AppFriendlyName").has_value()) {
        putText("AppFriendlyName", "Default Application");
    }
}

void MetabaseEntry::AppCreate(bool inProcess) {
    makeApplication(inProcess ? 0 : 1);
}

void MetabaseEntry::AppCreate2(int mode) {
    if (mode < 0 || mode > 2) throw metabase_error::invalidParameter();
    makeApplication(mode);
}

void MetabaseEntry::Start() {
    if (!isServer(Class())) throw metabase_error::methodNotSupported();
    if (!key_) throw metabase_error::pathNotFound();
    auto& document = store_->document();
    if (store_->bindings().heldByAnotherStartedSite(*key_)) throw metabase_error::alreadyExists();
    if (isStarted(document, *key_)) return;
    store_->checkWritable();
    document.setProperty(*key_, "ServerAutoStart", "TRUE");
    store_->markDirty();
}

}  // namespace tessaron
