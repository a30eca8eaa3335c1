#include "platform/dryrun/DryRunMetabase.h"

#include <algorithm>

#include "platform/Text.h"
#include "platform/metabase/MetabaseErrors.h"
#include "platform/metabase/SiteBindingRules.h"

namespace tessaron::dry_run {
namespace {

namespace properties = metabase_properties;
constexpr std::string_view kScheme = "IIS://LocalHost";

// "/LM/W3SVC/1" of "IIS://LocalHost/W3SVC/1"; nullopt for other paths.
std::optional<std::string> locationOf(const std::string& path) {
    if (path.size() < kScheme.size() ||
        !equalsIgnoreCase(std::string_view(path).substr(0, kScheme.size()), kScheme)) {
        return std::nullopt;
    }
    std::string rest = path.substr(kScheme.size());
    if (!rest.empty() && rest.front() != '/') return std::nullopt;
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    return "/LM" + rest;
}

std::string pathOf(const std::string& location) {
    return std::string(kScheme) + location.substr(3);
}

std::string parentOf(const std::string& location) {
    const auto slash = location.rfind('/');
    return slash == std::string::npos ? std::string() : location.substr(0, slash);
}

std::string nameOf(const std::string& location) {
    const auto slash = location.rfind('/');
    return slash == std::string::npos ? location : location.substr(slash + 1);
}

std::optional<std::string> textOf(const metabase_properties::Pending& texts,
                                  std::string_view name) {
    if (const auto text = properties::pendingText(texts, name)) return std::string(*text);
    return std::nullopt;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return asciiLower(a) < asciiLower(b);
}

}  // namespace

// An object of the dry-run metabase: a key of the other metabase (whose
// object it reads through) or one the dry run created. Like a directory
// service object it caches the properties put until SetInfo.
class DryRunObject : public MetabaseObject {
public:
    DryRunObject(DryRunMetabase& owner, std::string location, std::string className,
                 std::unique_ptr<MetabaseObject> inner, bool committed)
        : owner_(owner),
          location_(std::move(location)),
          className_(std::move(className)),
          inner_(std::move(inner)),
          committed_(committed) {}

    std::string Class() const override {
        const auto* key = owner_.key(location_);
        return key ? key->className : className_;
    }
    std::string Name() const override { return nameOf(location_); }

    std::vector<std::unique_ptr<MetabaseObject>> Children() override {
        std::vector<std::unique_ptr<MetabaseObject>> children;
        if (inner_) {
            for (auto& child : inner_->Children()) {
                auto location = location_ + "/" + child->Name();
                auto className = child->Class();
                children.push_back(std::make_unique<DryRunObject>(
                    owner_, std::move(location), std::move(className), std::move(child), true));
            }
        }
        for (const auto* key : owner_.createdChildren(location_)) {
            children.push_back(std::make_unique<DryRunObject>(owner_, key->location, key->className,
                                                              nullptr, true));
        }
        return children;
    }

    void ListChildren(const std::string& className, const std::string& property,
                      const ChildVisitor& visit) override {
        if (inner_ && !owner_.touchedBelow(location_)) {
            inner_->ListChildren(className, property, visit);
            return;
        }
        bool going = true;
        const auto viewOf = [&](MetabaseObject& object, const ChildVisitor& next) {
            std::optional<std::string> text;
            try {
                text = metabaseValueText(object.Get(property));
            } catch (const PlatformError&) {
                text.reset();
            }
            const std::string childClass = object.Class();
            const std::string name = object.Name();
            if (childClass != className) return true;
            std::optional<std::string_view> value;
            if (text) value = *text;
            return next(MetabaseChildView{childClass, name, value});
        };
        if (inner_) {
            inner_->ListChildren(className, property, [&](const MetabaseChildView& child) {
                const std::string location = location_ + "/" + std::string(child.name);
                if (!owner_.key(location)) return going = visit(child);
                return going = viewOf(*owner_.openLocation(location), visit);
            });
        }
        for (const auto* key : owner_.createdChildren(location_)) {
            if (!going) return;
            going = viewOf(*owner_.openLocation(key->location), visit);
        }
    }

    std::unique_ptr<MetabaseObject> Create(const std::string& className,
                                           const std::string& name) override {
        if (!committed_) throw metabase_error::pathNotFound();
        if (name.empty() || name.find('/') != std::string::npos || className.empty()) {
            throw metabase_error::invalidParameter();
        }
        const std::string location = location_ + "/" + name;
        if (owner_.exists(location)) throw metabase_error::alreadyExists();
        return std::make_unique<DryRunObject>(owner_, location, className, nullptr, false);
    }

    MetabaseValue Get(const std::string& property) override {
        // Untouched keys answer as the other metabase does.
        if (inner_ && pending_.empty() && !owner_.key(location_)) return inner_->Get(property);
        return properties::get(property, Class(), Name(), pending_,
                               [this](std::string_view name) { return seen(name); });
    }

    void Put(const std::string& property, const MetabaseValue& value) override {
        properties::put(pending_, property, value,
                        [this](std::string_view name) { return seen(name); });
    }

    void SetInfo() override {
        if (committed_) {
            commitPending();
            return;
        }
        if (!owner_.exists(parentOf(location_))) throw metabase_error::pathNotFound();
        if (owner_.exists(location_)) throw metabase_error::alreadyExists();
        auto& key = owner_.keys_[asciiLower(location_)];
        key.location = location_;
        key.className = className_;
        key.created = true;
        key.order = ++owner_.commits_;
        for (auto& [name, text] : pending_) {
            if (equalsIgnoreCase(name, properties::kKeyType)) {
                key.className = text;
            } else {
                properties::putText(key.committed, name, text);
            }
        }
        pending_.clear();
        committed_ = true;
    }

    void AppCreate(bool inProcess) override { makeApplication(inProcess ? 0 : 1); }
    void AppCreate2(int mode) override { makeApplication(mode); }

    void Start() override {
        if (!properties::isServerClass(Class())) throw metabase_error::methodNotSupported();
        if (!committed_) throw metabase_error::pathNotFound();
        if (recordConflicts()) throw metabase_error::alreadyExists();
        const auto started = committedText("ServerAutoStart");
        if (started && site_bindings::startedText(*started)) return;
        properties::Pending start{{"ServerAutoStart", "TRUE"}};
        commit(start);
    }

    // The committed text of a property: the dry run's, else the other
    // metabase's.
    std::optional<std::string> committedText(std::string_view name) {
        if (const auto* key = owner_.key(location_)) {
            if (auto text = textOf(key->committed, name)) return text;
            if (key->created) return std::nullopt;
        }
        return innerText(name);
    }

private:
    std::optional<std::string> seen(std::string_view name) {
        if (auto text = textOf(pending_, name)) return text;
        return committedText(name);
    }

    std::optional<std::string> innerText(std::string_view name) {
        if (!inner_) return std::nullopt;
        const auto found = innerTexts_.find(asciiLower(name));
        if (found != innerTexts_.end()) return found->second;
        std::optional<std::string> text;
        try {
            text = properties::storedText(name, inner_->Get(std::string(name)));
        } catch (const PlatformError&) {
            text.reset();
        }
        innerTexts_.emplace(asciiLower(name), text);
        return text;
    }

    void makeApplication(long isolation) {
        properties::makeApplication(pending_, Class(), location_, isolation,
                                    [this](std::string_view name) { return seen(name); });
    }

    void commitPending() {
        commit(pending_);
        pending_.clear();
    }

    // Values equal to the committed ones change nothing.
    void commit(const properties::Pending& texts) {
        for (const auto& put : texts) {
            const std::string& name = put.first;
            const std::string& text = put.second;
            const bool keyType = equalsIgnoreCase(name, properties::kKeyType);
            const auto current =
                keyType ? std::optional<std::string>(Class()) : committedText(name);
            if (current == text) continue;
            auto& key = owner_.keys_[asciiLower(location_)];
            if (key.location.empty()) {
                key.location = location_;
                key.className = className_;
                key.order = ++owner_.commits_;
            }
            if (keyType) {
                if (!key.formerClassName) key.formerClassName = key.className;
                key.className = text;
                continue;
            }
            const bool known =
                std::any_of(key.former.begin(), key.former.end(),
                            [&](const auto& f) { return equalsIgnoreCase(f.first, name); });
            if (!key.created && !known) key.former.emplace_back(name, innerText(name));
            properties::putText(key.committed, name, text);
        }
    }

    // Records every binding of this site that another started site of its
    // service and class holds; true when there is one.
    bool recordConflicts() {
        const std::string service = parentOf(location_);
        const std::string className = Class();
        const auto comment = committedText("ServerComment").value_or("");
        bool held = false;
        for (const auto property : site_bindings::kProperties) {
            const auto own = committedText(property);
            if (!own) continue;
            const auto ownBindings = site_bindings::bindingsOf(*own);
            if (ownBindings.empty()) continue;
            std::vector<std::string> holders;
            owner_.openLocation(service)->ListChildren(
                className, std::string(property), [&](const MetabaseChildView& child) {
                    if (child.value && !equalsIgnoreCase(child.name, Name()) &&
                        site_bindings::holdsOneOf(*child.value, ownBindings)) {
                        holders.emplace_back(child.name);
                    }
                    return true;
                });
            for (const auto& holderName : holders) {
                auto holder = owner_.openLocation(service + "/" + holderName);
                auto& other = static_cast<DryRunObject&>(*holder);
                const auto started = other.committedText("ServerAutoStart");
                if (!started || !site_bindings::startedText(*started)) continue;
                const auto theirs = other.committedText(property).value_or("");
                site_bindings::forEachBinding(*own, [&](const site_bindings::Binding& binding,
                                                        std::string_view line) {
                    if (!site_bindings::holdsOneOf(theirs, {binding})) return;
                    held = true;
                    StartConflict conflict{location_, comment, other.location_,
                                           other.committedText("ServerComment").value_or(""),
                                           asciiLower(line)};
                    // A second Start of the same site says nothing new.
                    auto& known = owner_.conflicts_;
                    const bool seen = std::any_of(known.begin(), known.end(), [&](const auto& k) {
                        return k.location == conflict.location &&
                               k.holderLocation == conflict.holderLocation &&
                               k.binding == conflict.binding;
                    });
                    if (!seen) known.push_back(std::move(conflict));
                });
            }
        }
        return held;
    }

    DryRunMetabase& owner_;
    std::string location_;
    std::string className_;
    std::unique_ptr<MetabaseObject> inner_;  // null for keys the dry run created
    bool committed_;
    properties::Pending pending_;
    std::map<std::string, std::optional<std::string>> innerTexts_;
};

DryRunMetabase::DryRunMetabase(Metabase& inner) : inner_(inner) {}
DryRunMetabase::~DryRunMetabase() = default;

DryRunMetabase::Key* DryRunMetabase::key(const std::string& location) {
    const auto found = keys_.find(asciiLower(location));
    return found == keys_.end() ? nullptr : &found->second;
}

bool DryRunMetabase::exists(const std::string& location) {
    if (key(location)) return true;
    try {
        inner_.Open(pathOf(location));
        return true;
    } catch (const PlatformError&) {
        return false;
    }
}

std::unique_ptr<MetabaseObject> DryRunMetabase::openLocation(const std::string& location) {
    if (const auto* found = key(location); found && found->created) {
        return std::make_unique<DryRunObject>(*this, found->location, found->className, nullptr,
                                              true);
    }
    auto object = inner_.Open(pathOf(location));
    auto className = object->Class();
    return std::make_unique<DryRunObject>(*this, location, std::move(className), std::move(object),
                                          true);
}

std::unique_ptr<MetabaseObject> DryRunMetabase::Open(const std::string& path) {
    const auto location = locationOf(path);
    if (!location) return inner_.Open(path);
    return openLocation(*location);
}

int DryRunMetabase::FirstFreeNumber(const std::string& parentPath) {
    int number = inner_.FirstFreeNumber(parentPath);
    const auto parent = locationOf(parentPath);
    if (!parent) return number;
    while (exists(*parent + "/" + std::to_string(number))) ++number;
    return number;
}

bool DryRunMetabase::touchedBelow(const std::string& location) const {
    const std::string prefix = asciiLower(location) + "/";
    const auto found = keys_.lower_bound(prefix);
    return found != keys_.end() && found->first.compare(0, prefix.size(), prefix) == 0;
}

std::vector<const DryRunMetabase::Key*> DryRunMetabase::createdChildren(
    const std::string& location) const {
    std::vector<const Key*> children;
    const std::string parent = asciiLower(location);
    for (const auto& [folded, key] : keys_) {
        if (key.created && parentOf(folded) == parent) children.push_back(&key);
    }
    std::sort(children.begin(), children.end(),
              [](const Key* a, const Key* b) { return a->order < b->order; });
    return children;
}

std::size_t DryRunMetabase::siblingPlace(const std::string& parent, const std::string& name) {
    auto [it, added] = siblings_.try_emplace(asciiLower(parent));
    if (added) {
        try {
            for (const auto& child : inner_.Open(pathOf(parent))->Children()) {
                it->second.push_back(asciiLower(child->Name()));
            }
        } catch (const PlatformError&) {
        }
    }
    const auto& names = it->second;
    const auto found = std::find(names.begin(), names.end(), asciiLower(name));
    return static_cast<std::size_t>(found - names.begin());
}

std::vector<KeyChange> DryRunMetabase::changes() {
    std::vector<const Key*> ordered;
    for (const auto& [folded, key] : keys_) ordered.push_back(&key);
    // Keys in the metabase's order: a parent before its children, existing
    // children in the other metabase's order, then the created ones.
    const auto before = [this](const Key* a, const Key* b) {
        const auto partsA = splitText(asciiLower(a->location), "/");
        const auto partsB = splitText(asciiLower(b->location), "/");
        std::size_t depth = 0;
        while (depth < partsA.size() && depth < partsB.size() && partsA[depth] == partsB[depth]) {
            ++depth;
        }
        if (depth == partsA.size() || depth == partsB.size()) return partsA.size() < partsB.size();
        std::string parent;
        for (std::size_t i = 0; i < depth; ++i) parent += (i ? "/" : "") + partsA[i];
        const auto childA = parent + "/" + partsA[depth];
        const auto childB = parent + "/" + partsB[depth];
        const auto* keyA = key(childA);
        const auto* keyB = key(childB);
        const bool createdA = keyA && keyA->created;
        const bool createdB = keyB && keyB->created;
        if (createdA != createdB) return createdB;
        if (createdA) return keyA->order < keyB->order;
        return siblingPlace(parent, partsA[depth]) < siblingPlace(parent, partsB[depth]);
    };
    std::stable_sort(ordered.begin(), ordered.end(), before);

    std::vector<KeyChange> changes;
    for (const auto* key : ordered) {
        KeyChange change{key->created, key->location, key->className, {}};
        for (const auto& [name, text] : key->committed) {
            std::optional<std::string> former;
            for (const auto& [formerName, formerText] : key->former) {
                if (equalsIgnoreCase(formerName, name)) former = formerText;
            }
            if (former == text) continue;
            change.properties.push_back({name, former, text});
        }
        std::stable_sort(change.properties.begin(), change.properties.end(),
                         [](const PropertyChange& a, const PropertyChange& b) {
                             return lessIgnoringCase(a.name, b.name);
                         });
        if (!change.properties.empty() || key->created || key->formerClassName) {
            changes.push_back(std::move(change));
        }
    }
    return changes;
}

}  // namespace tessaron::dry_run
