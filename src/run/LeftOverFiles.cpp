#include "run/LeftOverFiles.h"

#include "platform/Failure.h"
#include "platform/TemporaryNames.h"
#include "platform/WindowsPath.h"
#include "run/EarlierTemporaryNames.h"

namespace tessaron {
namespace {

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
    removeStaleTemporariesIn(files, pathFolder(places.configFile), TemporaryPlace::PanelFolder);
    removeStaleTemporariesIn(files, pathFolder(places.metabaseFile), TemporaryPlace::Inetsrv);
    removeStaleTemporariesIn(files, places.historyFolder, TemporaryPlace::History);
}

}  // namespace tessaron
