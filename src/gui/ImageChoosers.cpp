#include "gui/ImageChoosers.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

#include "platform/WindowsPath.h"
#include "platform/image/MachineImage.h"

namespace tessaron::gui {
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> driveFolders(const MachineImage& image) {
    std::vector<fs::path> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::error_code error;
        const fs::path drive = image.root() / std::string(1, letter);
        if (fs::is_directory(drive, error)) drives.push_back(drive);
    }
    return drives;
}

QString qtPath(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// Non-native, so that the dialog can be kept within the image and answered
// by tests; the sidebar lists the image's drives.
void prepare(QFileDialog& dialog, const MachineImage& image, const fs::path& start) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(qtPath(start));
    QList<QUrl> drives;
    for (const auto& drive : driveFolders(image)) drives << QUrl::fromLocalFile(qtPath(drive));
    dialog.setSidebarUrls(drives);
    // Leaving the drives (the image's own files, the host's folders) goes back.
    auto last = std::make_shared<QString>(qtPath(start));
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                     [&dialog, &image, last](const QString& folder) {
                         if (imageWindowsPath(image, folder.toStdString())) {
                             *last = folder;
                         } else {
                             dialog.setDirectory(*last);
                         }
                     });
}

int run(const DialogRunner& runner, QFileDialog& dialog) {
    return runner ? runner(dialog) : dialog.exec();
}

}  // namespace

std::optional<std::string> imageWindowsPath(const MachineImage& image, const fs::path& host) {
    std::error_code error;
    const fs::path root = fs::weakly_canonical(image.root(), error);
    if (error) return std::nullopt;
    const fs::path full = fs::weakly_canonical(host, error);
    if (error) return std::nullopt;
    const fs::path relative = full.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") return std::nullopt;
    return image.windowsPath(image.root() / relative);
}

fs::path startFolder(const MachineImage& image, const std::string& windowsPath) {
    const std::string trimmed = trimSpaces(windowsPath);
    if (auto host = image.hostPath(trimmed)) {
        for (fs::path folder = *host; !folder.empty(); folder = folder.parent_path()) {
            std::error_code error;
            if (fs::is_directory(folder, error) && imageWindowsPath(image, folder)) return folder;
            if (folder == folder.parent_path()) break;
        }
    }
    const auto drives = driveFolders(image);
    return drives.empty() ? image.root() : drives.front();
}

QStringList nameFilters(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString display = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString suffix = QStringLiteral("(") + patterns + QStringLiteral(")");
        filters << (display.endsWith(suffix) ? display : display + QStringLiteral(" ") + suffix);
    }
    return filters;
}

ImageFolderChooser::ImageFolderChooser(const MachineImage& image, QWidget* owner)
    : image_(image), owner_(owner) {}

std::string ImageFolderChooser::BrowseForFolder(const std::string& title,
                                                const std::string& start) {
    QFileDialog dialog(owner_, QString::fromStdString(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    prepare(dialog, image_, startFolder(image_, start));
    if (run(runner_, dialog) != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return imageWindowsPath(image_, chosen.front().toStdString()).value_or(std::string());
}

ImageFileChooser::ImageFileChooser(const MachineImage& image, QWidget* owner)
    : image_(image), owner_(owner) {}

std::optional<std::string> ImageFileChooser::ChooseFile(const std::string& filter, int flags) {
    QFileDialog dialog(owner_, QStringLiteral("Open"));
    dialog.setFileMode((flags & app::kFileMustExist) ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    prepare(dialog, image_, startFolder(image_, ""));
    dialog.setNameFilters(nameFilters(filter));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (run(runner_, dialog) != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return imageWindowsPath(image_, chosen.front().toStdString());
}

}  // namespace tessaron::gui
