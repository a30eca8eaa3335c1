#pragma once

#include <windows.h>

#include "app/window/MessageService.h"

namespace tessaron {
class ImageFolders;
}

namespace tessaron::winui {

// The "..." buttons' choosers on the machine the program runs on: the
// shell's folder browser and the open-file dialog, answering Windows paths.
class LocalFolderChooser : public app::window::FolderChooser {
public:
    explicit LocalFolderChooser(HWND owner) : owner_(owner) {}
    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;

private:
    HWND owner_;
};

class LocalFileChooser : public app::window::FileChooser {
public:
    explicit LocalFileChooser(HWND owner) : owner_(owner) {}
    std::optional<std::string> ChooseFile(const std::string& filter, int flags) override;

private:
    HWND owner_;
};

// The same dialogs on a machine image: opened on the start folder's place in
// the image's folder and answering the Windows path within the image
// ("C:\Tessaron\accounts"); a folder or file outside the image's drives is
// refused with a message (an empty answer).
class ImageFolderChooser : public app::window::FolderChooser {
public:
    ImageFolderChooser(const ImageFolders& image, HWND owner, app::window::MessageService& messages)
        : image_(image), owner_(owner), messages_(messages) {}
    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;

private:
    const ImageFolders& image_;
    HWND owner_;
    app::window::MessageService& messages_;
};

class ImageFileChooser : public app::window::FileChooser {
public:
    ImageFileChooser(const ImageFolders& image, HWND owner, app::window::MessageService& messages)
        : image_(image), owner_(owner), messages_(messages) {}
    std::optional<std::string> ChooseFile(const std::string& filter, int flags) override;

private:
    const ImageFolders& image_;
    HWND owner_;
    app::window::MessageService& messages_;
};

}  // namespace tessaron::winui
