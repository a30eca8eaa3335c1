#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/image/MetabaseBindings.h"
#include "platform/image/MetabaseDocument.h"

namespace tessaron {

// The one in-memory metabase of an image, kept in its MetaBase.xml. Every
// object opened on it reads and commits here, so each sees every commit.
//
// The file is read at the first use. Commits change the document in memory;
// Flush writes the whole file once (to a temporary file renamed over the
// old one), so a stage that commits many times writes once. The new file is
// complete before it takes the old one's name, so every reader sees the old
// metabase or the new one; it is not synced to the disk first, which would
// cost more than the rest of the save (see replaceAtomically in the .cpp).
class MetabaseStore {
public:
    explicit MetabaseStore(std::filesystem::path file);
    ~MetabaseStore();
    MetabaseStore(const MetabaseStore&) = delete;
    MetabaseStore& operator=(const MetabaseStore&) = delete;

    // The document, read on first use. Throws PlatformError: "The system
    // cannot find the path specified." without the file (IIS not installed),
    // a description naming the file and position when it is not a metabase.
    MetabaseDocument& document();
    // The binding check of Start over the document.
    SiteBindings& bindings();

    // Throws "Access is denied." when the file is read-only (owner-write bit
    // clear, whoever runs the program), as IIS cannot save then.
    void checkWritable() const;
    void markDirty() { dirty_ = true; }
    bool dirty() const { return dirty_; }
    // True when the file was read, nothing is pending, and another program
    // has changed or replaced the file since: a fresh store sees its state.
    bool stale() const;

    // Writes every commit to the file when there is any. Throws PlatformError
    // naming the file and the reason when it cannot be written (read-only
    // too), or has been written to or replaced by another program since it
    // was read; the commits stay pending then.
    void flush();

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
    std::unique_ptr<MetabaseDocument> document_;
    std::unique_ptr<SiteBindings> bindings_;
    bool dirty_ = false;
};

// The key location of an "IIS://LocalHost/W3SVC/1" path ("/LM/W3SVC/1"),
// the host and service names compared without regard to case; nullopt for a
// path that does not name a key of this machine.
std::optional<std::string> metabaseLocation(const std::string& adsPath);

}  // namespace tessaron
