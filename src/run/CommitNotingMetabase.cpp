#include "run/CommitNotingMetabase.h"

namespace tessaron {
namespace {

class NotingObject : public MetabaseObject {
public:
    NotingObject(std::unique_ptr<MetabaseObject> inner, std::shared_ptr<bool> committed)
        : inner_(std::move(inner)), committed_(std::move(committed)) {}

    std::string Class() const override { return inner_->Class(); }
    std::string Name() const override { return inner_->Name(); }
    std::vector<std::unique_ptr<MetabaseObject>> Children() override {
        auto children = inner_->Children();
        for (auto& child : children) child = noting(std::move(child));
        return children;
    }
    void ListChildren(const std::string& className, const std::string& property,
                      const ChildVisitor& visit) override {
        inner_->ListChildren(className, property, visit);
    }
    std::unique_ptr<MetabaseObject> Create(const std::string& className,
                                           const std::string& name) override {
        return noting(inner_->Create(className, name));
    }
    MetabaseValue Get(const std::string& property) override { return inner_->Get(property); }
    void Put(const std::string& property, const MetabaseValue& value) override {
        inner_->Put(property, value);
    }
    void SetInfo() override {
        *committed_ = true;
        inner_->SetInfo();
    }
    void AppCreate(bool inProcess) override {
        *committed_ = true;
        inner_->AppCreate(inProcess);
    }
    void AppCreate2(int mode) override {
        *committed_ = true;
        inner_->AppCreate2(mode);
    }
    void Start() override {
        *committed_ = true;
        inner_->Start();
    }

private:
    std::unique_ptr<MetabaseObject> noting(std::unique_ptr<MetabaseObject> object) const {
        return std::make_unique<NotingObject>(std::move(object), committed_);
    }

    std::unique_ptr<MetabaseObject> inner_;
    std::shared_ptr<bool> committed_;
};

}  // namespace

CommitNotingMetabase::CommitNotingMetabase(Metabase& inner)
    : inner_(inner), committed_(std::make_shared<bool>(false)) {}

std::unique_ptr<MetabaseObject> CommitNotingMetabase::Open(const std::string& path) {
    return std::make_unique<NotingObject>(inner_.Open(path), committed_);
}

int CommitNotingMetabase::FirstFreeNumber(const std::string& parentPath) {
    return inner_.FirstFreeNumber(parentPath);
}

void CommitNotingMetabase::Flush() {
    inner_.Flush();
}

}  // namespace tessaron
