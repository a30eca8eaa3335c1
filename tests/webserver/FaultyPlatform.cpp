#include "FaultyPlatform.h"

#include "platform/WindowsPath.h"

namespace tessaron::testing {
namespace {

bool matches(const std::vector<InjectedFault>& faults, const std::string& operation,
             const std::string& path, const std::string& property = {}) {
    for (const auto& fault : faults) {
        if (fault.operation == operation && equalsIgnoreCase(fault.path, path) &&
            (fault.property.empty() || equalsIgnoreCase(fault.property, property))) {
            return true;
        }
    }
    return false;
}

void failIf(const std::vector<InjectedFault>& faults, const std::string& operation,
            const std::string& path, const std::string& property = {}) {
    if (matches(faults, operation, path, property)) {
        throw PlatformError(static_cast<long>(0x8000FFFF), kInjectedText);
    }
}

class FaultyObject : public MetabaseObject {
public:
    FaultyObject(std::unique_ptr<MetabaseObject> inner, std::string path,
                 const std::vector<InjectedFault>& faults)
        : inner_(std::move(inner)), path_(std::move(path)), faults_(faults) {}

    std::string Class() const override { return inner_->Class(); }
    std::string Name() const override { return inner_->Name(); }
    std::vector<std::unique_ptr<MetabaseObject>> Children() override {
        std::vector<std::unique_ptr<MetabaseObject>> children;
        for (auto& child : inner_->Children()) {
            const auto path = path_ + "/" + child->Name();
            children.push_back(std::make_unique<FaultyObject>(std::move(child), path, faults_));
        }
        return children;
    }
    std::unique_ptr<MetabaseObject> Create(const std::string& className,
                                           const std::string& name) override {
        const auto path = path_ + "/" + name;
        failIf(faults_, "Create", path);
        return std::make_unique<FaultyObject>(inner_->Create(className, name), path, faults_);
    }
    MetabaseValue Get(const std::string& property) override { return inner_->Get(property); }
    void Put(const std::string& property, const MetabaseValue& value) override {
        failIf(faults_, "Put", path_, property);
        inner_->Put(property, value);
    }
    void SetInfo() override {
        failIf(faults_, "SetInfo", path_);
        inner_->SetInfo();
    }
    void AppCreate(bool inProcess) override {
        failIf(faults_, "AppCreate", path_);
        inner_->AppCreate(inProcess);
    }
    void AppCreate2(int mode) override {
        failIf(faults_, "AppCreate2", path_);
        inner_->AppCreate2(mode);
    }
    void Start() override {
        failIf(faults_, "Start", path_);
        inner_->Start();
    }

private:
    std::unique_ptr<MetabaseObject> inner_;
    std::string path_;
    const std::vector<InjectedFault>& faults_;
};

class FaultyMetabase : public Metabase {
public:
    FaultyMetabase(Metabase& inner, std::vector<InjectedFault> faults)
        : inner_(inner), faults_(std::move(faults)) {}
    std::unique_ptr<MetabaseObject> Open(const std::string& path) override {
        failIf(faults_, "Open", path);
        return std::make_unique<FaultyObject>(inner_.Open(path), path, faults_);
    }
    void Flush() override { inner_.Flush(); }

private:
    Metabase& inner_;
    std::vector<InjectedFault> faults_;
};

}  // namespace

FaultyPlatform::FaultyPlatform(Platform& inner, std::vector<InjectedFault> faults)
    : ForwardingPlatform(inner),
      metabase_(std::make_unique<FaultyMetabase>(inner.Iis(), std::move(faults))) {}

FaultyPlatform::~FaultyPlatform() = default;

Metabase& FaultyPlatform::Iis() {
    return *metabase_;
}

PlatformDecorator faultyMetabase(std::vector<InjectedFault> faults) {
    return [faults = std::move(faults)](Platform& image) -> std::unique_ptr<Platform> {
        return std::make_unique<FaultyPlatform>(image, faults);
    };
}

}  // namespace tessaron::testing
