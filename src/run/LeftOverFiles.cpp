#include "run/LeftOverFiles.h"

#include "platform/Failure.h"
#include "platform/TemporaryNames.h"
#include "run/EarlierTemporaryNames.h"

namespace tessaron {
namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void removeStaleTemporariesIn(FileSystem& files, const std::string& folder, TemporaryPlace place) {
    std::vector<std::string> names;
    try {
        if (folder.empty() || !files.FolderExists(folder)) return;
        names = files.FileNames(folder);
    } catch (const PlatformError&) {
        return;
    }
    for (const auto& name : names) {
        if (!isTemporaryName(name) && !isEarlierTemporaryName(place, name)) continue;
        try {
            files.DeleteFile(folder + "\\" + name);
        } catch (const PlatformError&) {
        }
    }
}

}  // namespace

void removeStaleTemporaries(FileSystem& files, const BackupPlaces& places) {
    removeStaleTemporariesIn(files, folderOf(places.configFile), TemporaryPlace::PanelFolder);
    removeStaleTemporariesIn(files, folderOf(places.metabaseFile), TemporaryPlace::Inetsrv);
    removeStaleTemporariesIn(files, places.historyFolder, TemporaryPlace::History);
}

}  // namespace tessaron
