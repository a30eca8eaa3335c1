#include "platform/dryrun/DryRunFiles.h"

#include <algorithm>

#include "platform/CodePage1252.h"
#include "platform/ScriptingErrors.h"
#include "platform/Text.h"

namespace tessaron::dry_run {
namespace {

// The path with forward slashes as backslashes and without a trailing one
// (a drive's root keeps its own: "C:\").
std::string normalized(const std::string& path) {
    std::string text = path;
    std::replace(text.begin(), text.end(), '/', '\\');
    while (text.size() > 3 && text.back() == '\\') text.pop_back();
    return text;
}

// The key a path is kept under: Windows paths compare without regard to case.
std::string folded(const std::string& path) {
    return asciiLower(normalized(path));
}

// The folder holding the entry; empty for a drive's root.
std::string parentOf(const std::string& path) {
    const std::string text = normalized(path);
    const auto slash = text.rfind('\\');
    if (slash == std::string::npos || slash + 1 == text.size()) return {};
    const std::string parent = text.substr(0, slash);
    return parent.size() == 2 && parent[1] == ':' ? parent + "\\" : parent;
}

std::string nameOf(const std::string& path) {
    const std::string text = normalized(path);
    const auto slash = text.rfind('\\');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

}  // namespace

// A folder or file the dry run created, wrote or deleted. A file's text is
// its own, or while it is an unchanged copy the text of the file it was
// copied from on the other file system.
struct DryRunFiles::Entry {
    enum class Kind { Folder, File, Deleted };
    std::string path;
    Kind kind = Kind::File;
    bool existedBefore = false;
    std::string text;
    std::optional<std::string> copyOf;  // a path on the other file system
    std::size_t order = 0;
};

class DryRunFiles::Writer : public TextWriter {
public:
    Writer(DryRunFiles& files, std::string key) : files_(files), key_(std::move(key)) {}

    void WriteLine(const std::string& text) override {
        if (!encodeCodePage1252(text)) throw scripting_error::invalidCall();
        const auto found = files_.entries_.find(key_);
        if (found == files_.entries_.end() || found->second.kind != Entry::Kind::File) {
            throw scripting_error::badFileMode();
        }
        found->second.text += text + "\r\n";
    }
    void Close() override {}

private:
    DryRunFiles& files_;
    std::string key_;
};

DryRunFiles::DryRunFiles(FileSystem& inner) : inner_(inner) {}
DryRunFiles::~DryRunFiles() = default;

DryRunFiles::Entry* DryRunFiles::find(const std::string& path) {
    const auto found = entries_.find(folded(path));
    return found == entries_.end() ? nullptr : &found->second;
}

DryRunFiles::Entry& DryRunFiles::fileEntry(const std::string& path) {
    auto [it, added] = entries_.try_emplace(folded(path));
    Entry& entry = it->second;
    if (added) {
        entry.path = normalized(path);
        entry.existedBefore = inner_.FileExists(path);
        if (entry.existedBefore) entry.copyOf = path;
    }
    entry.kind = Entry::Kind::File;
    entry.order = ++changes_;
    return entry;
}

std::string DryRunFiles::contentOf(const Entry& entry) {
    return entry.copyOf ? inner_.ReadTextFile(*entry.copyOf) : entry.text;
}

bool DryRunFiles::FolderExists(const std::string& path) {
    if (const auto* entry = find(path)) return entry->kind == Entry::Kind::Folder;
    return inner_.FolderExists(path);
}

bool DryRunFiles::FileExists(const std::string& path) {
    if (const auto* entry = find(path)) return entry->kind == Entry::Kind::File;
    return inner_.FileExists(path);
}

void DryRunFiles::CreateFolder(const std::string& path) {
    if (path.empty()) throw scripting_error::invalidCall();
    const std::string parent = parentOf(path);
    if (parent.empty()) {
        // A drive's root exists whenever the drive does.
        if (inner_.FolderExists(path)) throw scripting_error::fileAlreadyExists();
        throw scripting_error::pathNotFound();
    }
    if (FolderExists(path) || FileExists(path)) throw scripting_error::fileAlreadyExists();
    if (!FolderExists(parent)) throw scripting_error::pathNotFound();
    Entry& entry = entries_[folded(path)];
    entry.path = normalized(path);
    entry.kind = Entry::Kind::Folder;
    entry.text.clear();
    entry.copyOf.reset();
    entry.order = ++changes_;
}

void DryRunFiles::CopyFile(const std::string& source, const std::string& destination,
                           bool overwrite) {
    if (!FileExists(source)) throw scripting_error::fileNotFound();
    std::string target = destination;
    if (!destination.empty() && (destination.back() == '\\' || destination.back() == '/')) {
        // A folder: the copy keeps the source's name.
        if (!FolderExists(destination)) throw scripting_error::pathNotFound();
        target = normalized(destination) + "\\" + nameOf(source);
    }
    if (FolderExists(target)) throw scripting_error::permissionDenied();
    if (FileExists(target)) {
        if (!overwrite) throw scripting_error::fileAlreadyExists();
        if (folded(source) == folded(target)) throw scripting_error::permissionDenied();
    } else if (!FolderExists(parentOf(target))) {
        throw scripting_error::pathNotFound();
    }
    std::optional<std::string> copyOf = source;
    std::string text;
    if (const auto* from = find(source)) {
        copyOf = from->copyOf;
        text = from->text;
    }
    Entry& entry = fileEntry(target);
    entry.copyOf = std::move(copyOf);
    entry.text = std::move(text);
}

void DryRunFiles::ReplaceFile(const std::string& source, const std::string& destination) {
    if (!FileExists(source)) throw scripting_error::fileNotFound();
    if (FolderExists(destination)) throw scripting_error::permissionDenied();
    if (!FolderExists(parentOf(destination))) throw scripting_error::pathNotFound();
    Entry moved = fileEntry(source);
    DeleteFile(source);
    Entry& entry = fileEntry(destination);
    entry.copyOf = std::move(moved.copyOf);
    entry.text = std::move(moved.text);
}

void DryRunFiles::DeleteFile(const std::string& path) {
    if (!FileExists(path)) throw scripting_error::fileNotFound();
    Entry& entry = fileEntry(path);
    if (!entry.existedBefore) {
        entries_.erase(folded(path));
        return;
    }
    entry.kind = Entry::Kind::Deleted;
    entry.text.clear();
    entry.copyOf.reset();
}

std::vector<std::string> DryRunFiles::childNames(const std::string& path, bool folders) {
    if (!FolderExists(path)) throw scripting_error::pathNotFound();
    const auto wanted = folders ? Entry::Kind::Folder : Entry::Kind::File;
    std::vector<std::string> names;
    if (inner_.FolderExists(path)) {
        for (auto& name : folders ? inner_.SubFolders(path) : inner_.FileNames(path)) {
            const auto* entry = find(normalized(path) + "\\" + name);
            if (!entry || entry->kind == wanted) names.push_back(std::move(name));
        }
    }
    std::vector<const Entry*> added;
    const std::string folder = folded(path);
    for (const auto& item : entries_) {
        const Entry& entry = item.second;
        if (entry.kind != wanted || folded(parentOf(entry.path)) != folder) continue;
        const bool listed = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return equalsIgnoreCase(name, nameOf(entry.path));
        });
        if (!listed) added.push_back(&entry);
    }
    std::sort(added.begin(), added.end(),
              [](const Entry* a, const Entry* b) { return a->order < b->order; });
    for (const auto* entry : added) names.push_back(nameOf(entry->path));
    return names;
}

std::vector<std::string> DryRunFiles::SubFolders(const std::string& path) {
    return childNames(path, true);
}

std::vector<std::string> DryRunFiles::FileNames(const std::string& path) {
    return childNames(path, false);
}

std::unique_ptr<TextWriter> DryRunFiles::CreateTextFile(const std::string& path, bool overwrite) {
    if (FolderExists(path)) {
        if (!overwrite) throw scripting_error::fileAlreadyExists();
        throw scripting_error::permissionDenied();
    }
    if (FileExists(path)) {
        if (!overwrite) throw scripting_error::fileAlreadyExists();
    } else if (!FolderExists(parentOf(path))) {
        throw scripting_error::permissionDenied();
    }
    Entry& entry = fileEntry(path);
    entry.text.clear();
    entry.copyOf.reset();
    return std::make_unique<Writer>(*this, folded(path));
}

std::unique_ptr<TextWriter> DryRunFiles::OpenTextFileForAppending(const std::string& path) {
    if (FolderExists(path)) throw scripting_error::permissionDenied();
    if (!FileExists(path) && !FolderExists(parentOf(path))) {
        throw scripting_error::permissionDenied();
    }
    const bool existed = FileExists(path);
    std::string text = existed ? ReadTextFile(path) : std::string();
    Entry& entry = fileEntry(path);
    entry.text = std::move(text);
    entry.copyOf.reset();
    return std::make_unique<Writer>(*this, folded(path));
}

std::string DryRunFiles::ReadTextFile(const std::string& path) {
    if (const auto* entry = find(path)) {
        if (entry->kind != Entry::Kind::File) throw scripting_error::fileNotFound();
        return contentOf(*entry);
    }
    return inner_.ReadTextFile(path);
}

namespace {

template <typename Entries, typename Keep>
std::vector<std::string> sortedPaths(const Entries& entries, Keep&& keep) {
    std::vector<std::string> paths;
    for (const auto& [key, entry] : entries) {
        if (keep(entry)) paths.push_back(entry.path);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

std::vector<std::string> DryRunFiles::foldersCreated() const {
    return sortedPaths(entries_, [](const Entry& entry) {
        return entry.kind == Entry::Kind::Folder && !entry.existedBefore;
    });
}

std::vector<std::string> DryRunFiles::filesCreated() const {
    return sortedPaths(entries_, [](const Entry& entry) {
        return entry.kind == Entry::Kind::File && !entry.existedBefore;
    });
}

std::vector<std::string> DryRunFiles::filesChanged() {
    return sortedPaths(entries_, [this](const Entry& entry) {
        if (entry.kind != Entry::Kind::File || !entry.existedBefore) return false;
        if (entry.copyOf && folded(*entry.copyOf) == folded(entry.path)) return false;
        try {
            return contentOf(entry) != inner_.ReadTextFile(entry.path);
        } catch (const PlatformError&) {
            return true;
        }
    });
}

std::optional<std::string> DryRunFiles::textBefore(const std::string& path) {
    if (!inner_.FileExists(path)) return std::nullopt;
    return inner_.ReadTextFile(path);
}

std::optional<std::string> DryRunFiles::textNow(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    return ReadTextFile(path);
}

}  // namespace tessaron::dry_run
