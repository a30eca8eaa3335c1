#include "platform/image/MetabaseEntry.h"

#include "platform/WindowsPath.h"
#include "platform/image/MetabaseErrors.h"
#include "platform/image/MetabaseSchema.h"

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

// One "address:port:host" binding; an empty address (all unassigned
// addresses) is a value of its own.
struct Binding {
    std::string address, port, host;

    static Binding parse(const std::string& text) {
        Binding binding;
        const auto first = text.find(':');
        const auto second = first == std::string::npos ? std::string::npos : text.find(':', first + 1);
        binding.address = trimSpaces(text.substr(0, first));
        if (first != std::string::npos) {
            binding.port = trimSpaces(text.substr(first + 1, second == std::string::npos
                                                                 ? std::string::npos
                                                                 : second - first - 1));
            const auto digits = binding.port.find_first_not_of('0');
            binding.port = digits == std::string::npos ? "0" : binding.port.substr(digits);
        }
        if (second != std::string::npos) binding.host = trimSpaces(text.substr(second + 1));
        return binding;
    }
    bool operator==(const Binding& other) const {
        return address == other.address && port == other.port &&
               equalsIgnoreCase(host, other.host);
    }
};

std::vector<Binding> bindingsOf(MetabaseDocument& document, const MetabaseKey& key,
                                std::string_view property) {
    std::vector<Binding> bindings;
    if (const auto text = document.property(key, property)) {
        for (const auto& line : schema::splitLines(*text)) {
            if (!trimSpaces(line).empty()) bindings.push_back(Binding::parse(line));
        }
    }
    return bindings;
}

bool started(MetabaseDocument& document, const MetabaseKey& key) {
    const auto text = document.property(key, "ServerAutoStart");
    return text && (equalsIgnoreCase(*text, "TRUE") || *text == "1");
}

}  // namespace

MetabaseEntry::MetabaseEntry(std::shared_ptr<MetabaseStore> store, MetabaseKey& key)
    : store_(std::move(store)), key_(&key) {}

MetabaseEntry::MetabaseEntry(std::shared_ptr<MetabaseStore> store, std::string className,
                             std::string parentLocation, std::string name)
    : store_(std::move(store)),
      className_(std::move(className)),
      parentLocation_(std::move(parentLocation)),
      name_(std::move(name)) {}

std::string MetabaseEntry::location() const {
    return key_ ? std::string(key_->location) : parentLocation_ + "/" + name_;
}

std::string MetabaseEntry::Class() const {
    return key_ ? std::string(key_->className) : className_;
}

std::string MetabaseEntry::Name() const {
    if (!key_) return name_;
    const auto slash = key_->location.rfind('/');
    return std::string(slash == std::string_view::npos ? key_->location
                                                       : key_->location.substr(slash + 1));
}

std::vector<std::unique_ptr<MetabaseObject>> MetabaseEntry::Children() {
    std::vector<std::unique_ptr<MetabaseObject>> children;
    if (!key_) return children;
    for (auto* child : store_->document().children(key_->location)) {
        children.push_back(std::make_unique<MetabaseEntry>(store_, *child));
    }
    return children;
}

std::unique_ptr<MetabaseObject> MetabaseEntry::Create(const std::string& className,
                                                      const std::string& name) {
    if (!key_) throw metabase_error::pathNotFound();
    if (name.empty() || name.find('/') != std::string::npos || className.empty()) {
        throw metabase_error::invalidParameter();
    }
    const std::string parent(key_->location);
    if (store_->document().find(parent + "/" + name)) throw metabase_error::alreadyExists();
    return std::make_unique<MetabaseEntry>(store_, className, parent, name);
}

std::optional<std::string> MetabaseEntry::effective(std::string_view name) const {
    for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
        if (equalsIgnoreCase(it->first, name)) return it->second;
    }
    if (!key_) return std::nullopt;
    return store_->document().property(*key_, name);
}

MetabaseValue MetabaseEntry::Get(const std::string& property) {
    if (equalsIgnoreCase(property, "Class")) return Class();
    if (equalsIgnoreCase(property, "Name")) return Name();
    if (equalsIgnoreCase(property, kKeyType)) {
        // The key's class, unless a new one is put and not yet committed.
        for (const auto& [name, text] : pending_) {
            if (equalsIgnoreCase(name, kKeyType)) return text;
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
    for (auto& [pendingName, value] : pending_) {
        if (equalsIgnoreCase(pendingName, name)) {
            value = std::move(text);
            return;
        }
    }
    pending_.emplace_back(std::string(name), std::move(text));
}

void MetabaseEntry::Put(const std::string& property, const MetabaseValue& value) {
    if (equalsIgnoreCase(property, "Class") || equalsIgnoreCase(property, "Name")) {
        throw metabase_error::invalidParameter();
    }
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

void MetabaseEntry::SetInfo() {
    auto& document = store_->document();
    store_->checkWritable();
    if (key_) {
        bool changed = false;
        // Values equal to the committed ones change nothing, so the key keeps
        // its text in the file.
        for (auto& [name, text] : pending_) {
            if (equalsIgnoreCase(name, kKeyType)) {
                changed |= key_->className != text;
                document.setClassName(*key_, text);
            } else {
                changed |= document.property(*key_, name) != text;
                document.setProperty(*key_, name, text);
            }
        }
        if (changed) store_->markDirty();
        pending_.clear();
        return;
    }
    if (!document.find(parentLocation_)) throw metabase_error::pathNotFound();
    const auto ownLocation = location();
    if (document.find(ownLocation)) throw metabase_error::alreadyExists();
    std::string className = className_;
    std::vector<std::pair<std::string, std::string>> properties;
    for (auto& [name, text] : pending_) {
        if (equalsIgnoreCase(name, kKeyType)) {
            className = text;
        } else {
            properties.emplace_back(name, text);
        }
    }
    key_ = &document.add(className, ownLocation, std::move(properties));
    store_->markDirty();
    pending_.clear();
}

void MetabaseEntry::makeApplication(long isolation) {
    if (!isWebDirectory(Class())) throw metabase_error::methodNotSupported();
    putText("AppRoot", location());
    putText("AppIsolated", std::to_string(isolation));
    if (!effective("AppFriendlyName")) putText("AppFriendlyName", "Default Application");
}

void MetabaseEntry::AppCreate(bool inProcess) { makeApplication(inProcess ? 0 : 1); }

void MetabaseEntry::AppCreate2(int mode) {
    if (mode < 0 || mode > 2) throw metabase_error::invalidParameter();
    makeApplication(mode);
}

void MetabaseEntry::Start() {
    if (!isServer(Class())) throw metabase_error::methodNotSupported();
    if (!key_) throw metabase_error::pathNotFound();
    auto& document = store_->document();
    const auto parent = key_->location.substr(0, key_->location.rfind('/'));
    for (std::string_view property : {"ServerBindings", "SecureBindings"}) {
        const auto own = bindingsOf(document, *key_, property);
        if (own.empty()) continue;
        for (auto* other : document.children(parent)) {
            if (other == key_ || other->className != key_->className || !started(document, *other)) {
                continue;
            }
            for (const auto& binding : bindingsOf(document, *other, property)) {
                for (const auto& mine : own) {
                    if (mine == binding) throw metabase_error::alreadyExists();
                }
            }
        }
    }
    if (started(document, *key_)) return;
    store_->checkWritable();
    document.setProperty(*key_, "ServerAutoStart", "TRUE");
    store_->markDirty();
}

}  // namespace tessaron
