#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/window/MessageService.h"

class QFileDialog;

namespace tessaron {
class ImageFolders;
}

namespace tessaron::gui {

// Runs a prepared file dialog and returns its result code (QDialog::Accepted
// or Rejected). The window runs it modally; tests answer it themselves.
using DialogRunner = std::function<int(QFileDialog&)>;

// The folder browser behind the "..." buttons, on the machine image: a
// folder dialog titled with the prompt, opened on the start folder's place in
// the image (its nearest existing folder; the first drive when it has none),
// kept within the image's drives, answering with the chosen folder's Windows
// path ("C:\Tessaron\accounts", "C:\" for a drive). Its name box shows
// Windows paths and takes a typed one ("C:\Tessaron\panel"). Cancel answers
// empty text; so does a folder outside the drives, after a message saying so.
class ImageFolderChooser : public app::window::FolderChooser {
public:
    ImageFolderChooser(const ImageFolders& image, QWidget* owner);
    void setRunner(DialogRunner runner) { runner_ = std::move(runner); }
    // Where the refusal of a folder outside the image is said.
    void setMessages(app::window::MessageService* messages) { messages_ = messages; }

    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;

private:
    app::window::MessageService* messages_ = nullptr;
    const ImageFolders& image_;
    QPointer<QWidget> owner_;
    DialogRunner runner_;
};

// The open-file dialog (CommonDialog1) on the machine image: the filter's
// display texts and patterns (matched without regard to case, as Windows
// does), the must-exist flag, the Windows path of the chosen file; nothing
// when cancelled.
class ImageFileChooser : public app::window::FileChooser {
public:
    ImageFileChooser(const ImageFolders& image, QWidget* owner);
    void setRunner(DialogRunner runner) { runner_ = std::move(runner); }

    std::optional<std::string> ChooseFile(const std::string& filter, int flags) override;

private:
    const ImageFolders& image_;
    QPointer<QWidget> owner_;
    DialogRunner runner_;
};

// "Perl Executable (perl.exe)|perl.exe" as Qt name filters: one entry per
// pair, the pattern in parentheses after the display text unless the display
// text already ends with it; ";" between patterns becomes a blank.
QStringList nameFilters(const std::string& filter);

// The host folder a Windows folder path opens on: the path's nearest existing
// folder in the image, or the first drive's folder.
std::filesystem::path startFolder(const ImageFolders& image, const std::string& windowsPath);

// The Windows path of a host path within the image's drives, or nothing.
std::optional<std::string> imageWindowsPath(const ImageFolders& image,
                                            const std::filesystem::path& host);

}  // namespace tessaron::gui
