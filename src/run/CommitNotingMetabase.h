#pragma once

#include <memory>

#include "platform/Metabase.h"

namespace tessaron {

// Another metabase, noting whether anything was committed through it or the
// objects it opened and created (SetInfo, AppCreate, AppCreate2, Start),
// whether or not the commit succeeded. A run that committed nothing has left
// the metabase as it was, so its file need be neither copied nor hashed.
class CommitNotingMetabase : public Metabase {
public:
    explicit CommitNotingMetabase(Metabase& inner);

    std::unique_ptr<MetabaseObject> Open(const std::string& path) override;
    int FirstFreeNumber(const std::string& parentPath) override;
    void Flush() override;

    bool committed() const { return *committed_; }

private:
    Metabase& inner_;
    // Shared with the objects, which may outlive a call.
    std::shared_ptr<bool> committed_;
};

}  // namespace tessaron
