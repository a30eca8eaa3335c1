#include "run/BackingUpPlatform.h"

#include "platform/Failure.h"
#include "platform/WindowsPath.h"
#include "run/CommitNotingMetabase.h"

namespace tessaron {

class BackingUpPlatform::GuardedFiles : public FileSystem {
public:
    GuardedFiles(FileSystem& files, RunBackups& backups) : files_(files), backups_(backups) {}

    bool FolderExists(const std::string& path) override { return files_.FolderExists(path); }
    bool FileExists(const std::string& path) override { return files_.FileExists(path); }
    void CreateFolder(const std::string& path) override { files_.CreateFolder(path); }
    void CopyFile(const std::string& source, const std::string& destination,
                  bool overwrite) override {
        backups_.beforeChanging(destination);
        files_.CopyFile(source, destination, overwrite);
    }
    void ReplaceFile(const std::string& source, const std::string& destination) override {
        backups_.beforeChanging(destination);
        files_.ReplaceFile(source, destination);
    }
    void DeleteFile(const std::string& path) override {
        backups_.beforeChanging(path);
        files_.DeleteFile(path);
    }
    std::vector<std::string> SubFolders(const std::string& path) override {
        return files_.SubFolders(path);
    }
    std::vector<std::string> FileNames(const std::string& path) override {
        return files_.FileNames(path);
    }
    std::unique_ptr<TextWriter> CreateTextFile(const std::string& path, bool overwrite) override {
        backups_.beforeChanging(path);
        return files_.CreateTextFile(path, overwrite);
    }
    std::unique_ptr<TextWriter> OpenTextFileForAppending(const std::string& path) override {
        backups_.beforeChanging(path);
        return files_.OpenTextFileForAppending(path);
    }
    std::string ReadTextFile(const std::string& path) override { return files_.ReadTextFile(path); }
    void ReadFileBytes(const std::string& path, const BytesConsumer& consume) override {
        files_.ReadFileBytes(path, consume);
    }

private:
    FileSystem& files_;
    RunBackups& backups_;
};

class BackingUpPlatform::GuardedMetabase : public CommitNotingMetabase {
public:
    GuardedMetabase(Metabase& iis, RunBackups& backups)
        : CommitNotingMetabase(iis), backups_(backups) {}

    void Flush() override {
        // Without a commit the save leaves the file as it is.
        if (!committed()) {
            CommitNotingMetabase::Flush();
            return;
        }
        backups_.beforeChanging(backups_.places().metabaseFile);
        try {
            CommitNotingMetabase::Flush();
        } catch (const PlatformError&) {
            backups_.changeFailed(backups_.places().metabaseFile);
            throw;
        }
    }

private:
    RunBackups& backups_;
};

BackingUpPlatform::BackingUpPlatform(Platform& platform, RunBackups& backups)
    : ForwardingPlatform(platform), backups_(backups) {}

BackingUpPlatform::~BackingUpPlatform() = default;

FileSystem& BackingUpPlatform::Files() {
    if (!files_) files_ = std::make_unique<GuardedFiles>(inner().Files(), backups_);
    return *files_;
}

Metabase& BackingUpPlatform::Iis() {
    if (!iis_) iis_ = std::make_unique<GuardedMetabase>(inner().Iis(), backups_);
    return *iis_;
}

BackupPlaces backupPlacesFor(Platform& platform, const std::string& installDir) {
    const std::string inetsrv =
        withTrailingBackslash(platform.System().GetWindowsDir()) + "system32\\inetsrv";
    return BackupPlaces{
        withTrailingBackslash(installDir) + "panel\\config.inc",
        inetsrv + "\\MetaBase.xml",
        inetsrv + "\\History",
        runJournalPath(installDir),
    };
}

}  // namespace tessaron
