#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/image/metabase/MetabaseBindings.h"
#include "platform/image/metabase/MetabaseDocument.h"

// The metabase of a machine image: MetaBase.xml behind the directory
// service's objects. How it is put together, from the outside in:
//
// - Bindings to the platform: ImageMetabase (createImageMetabase) opens
//   "IIS://LocalHost/..." paths as MetabaseEntry objects, which hold the
//   properties put until SetInfo, as the directory service's objects do.
//   MetabaseSchema gives each property's kind (text, number, boolean, list,
//   a bit of AccessFlags); MetabaseErrors the provider's failure texts;
//   SiteBindings (MetabaseBindings) the binding check of Start.
// - Keys: MetabaseStore reads the file at first use into a MetabaseDocument
//   (pugixml parses the text in place) whose MetabaseKeys are the elements
//   of <MBProperty>, each found by its Location ("/LM/W3SVC/1").
// - Edits: a key changed or created holds its properties itself
//   (MetabaseKeyEdits); the others stay views into the parsed text.
// - The index: finds scan the keys until they are frequent enough to pay for
//   a NumberIndex of the locations (MetabaseLookup); children are a scan in
//   the store's order.
// - Save pieces: a save writes the file's bytes as read (MetabaseOriginal)
//   for every unchanged key and only the edited keys anew in IIS's layout
//   (MetabaseSavePieces, MetabaseLayout), to a new file renamed over the old.

namespace tessaron {

// The one in-memory metabase of an image, kept in its MetaBase.xml. Every
// object opened on it reads and commits here, so each sees every commit.
//
// The file is read at the first use. Commits change the document in memory;
// Flush writes the whole file once (to a temporary file renamed over the
// old one), so a stage that commits many times writes once; nothing writes
// it at any other time. The new file is
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
    // True when the file was read, nothing is pending, and another program
    // has changed or replaced the file since, or a save failed: a fresh store
    // sees the file's state.
    bool stale() const;

    // Writes every commit to the file when there is any. Throws PlatformError
    // naming the file and the reason when it cannot be written (read-only
    // too), or has been written to or replaced by another program since it
    // was read; the commits are given up then and the file keeps its former
    // state. Nothing else writes the file: commits never flushed are lost
    // when the store goes.
    void flush();

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
    std::unique_ptr<MetabaseDocument> document_;
    std::unique_ptr<SiteBindings> bindings_;
    bool dirty_ = false;
    // A save failed: the document holds commits the file does not.
    bool abandoned_ = false;
};

// The key location of an "IIS://LocalHost/W3SVC/1" path ("/LM/W3SVC/1"),
// the host and service names compared without regard to case; nullopt for a
// path that does not name a key of this machine.
std::optional<std::string> metabaseLocation(const std::string& adsPath);

}  // namespace tessaron
