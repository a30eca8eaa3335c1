#include "winui/Choosers.h"

#include <filesystem>

#include "platform/ImageFolders.h"
#include "winui/FileDialogs.h"

namespace tessaron::winui {
namespace fs = std::filesystem;

namespace {

// The nearest existing folder of a Windows path within the image, or the
// image's first drive.
std::string hostStart(const ImageFolders& image, const std::string& windowsPath) {
    std::error_code error;
    if (auto host = image.hostPath(windowsPath)) {
        for (fs::path folder = *host; !folder.empty() && folder != folder.parent_path();
             folder = folder.parent_path()) {
            if (fs::is_directory(folder, error) && image.windowsPath(folder))
                return folder.string();
        }
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const fs::path drive = image.root() / std::string(1, letter);
        if (fs::is_directory(drive, error)) return drive.string();
    }
    return image.root().string();
}

std::optional<std::string> insideImage(const ImageFolders& image, const std::string& host,
                                       app::window::MessageService& messages,
                                       const std::string& title) {
    if (auto windows = image.windowsPath(fs::path(host))) return windows;
    app::window::Message refusal;
    refusal.title = title;
    refusal.text =
        "The folder " + host + " is outside the machine image; choose one on its drives.";
    refusal.icon = app::window::MessageIcon::Error;
    messages.show(refusal);
    return std::nullopt;
}

}  // namespace

std::string LocalFolderChooser::BrowseForFolder(const std::string& title,
                                                const std::string& startFolder) {
    return browseForFolder(owner_, title, startFolder).value_or(std::string());
}

std::optional<std::string> LocalFileChooser::ChooseFile(const std::string& filter, int flags) {
    return chooseOpenFile(owner_, filter, static_cast<DWORD>(flags));
}

std::string ImageFolderChooser::BrowseForFolder(const std::string& title,
                                                const std::string& startFolder) {
    const auto host = browseForFolder(owner_, title, hostStart(image_, startFolder));
    if (!host) return {};
    return insideImage(image_, *host, messages_, title).value_or(std::string());
}

std::optional<std::string> ImageFileChooser::ChooseFile(const std::string& filter, int flags) {
    const auto host =
        chooseOpenFile(owner_, filter, static_cast<DWORD>(flags), hostStart(image_, "C:\\"));
    if (!host) return std::nullopt;
    return insideImage(image_, *host, messages_, "Open");
}

}  // namespace tessaron::winui
