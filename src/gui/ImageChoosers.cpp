#include "gui/ImageChoosers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QUrl>

#include "platform/ImageFolders.h"
#include "platform/WindowsPath.h"

namespace tessaron::gui {
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> driveFolders(const ImageFolders& image) {
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

// The Windows path of a host path in the image, or the text as it is.
QString shownPath(const ImageFolders& image, const QString& host) {
    if (!QDir::isAbsolutePath(host)) return host;
    const auto windows = imageWindowsPath(image, host.toStdString());
    return windows ? QString::fromStdString(*windows) : host;
}

// "Look in" shows the Windows path of the folder at hand, never the host's.
class WindowsPathLabelStyle : public QProxyStyle {
public:
    WindowsPathLabelStyle(const QFileDialog& dialog, const ImageFolders& image)
        : dialog_(dialog), image_(image) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
            combo && element == CE_ComboBoxLabel) {
            QStyleOptionComboBox shown(*combo);
            shown.currentText = shownPath(image_, dialog_.directory().absolutePath());
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    const QFileDialog& dialog_;
    const ImageFolders& image_;
};

// The "Look in" list's entries as Windows paths.
class WindowsPathDelegate : public QStyledItemDelegate {
public:
    WindowsPathDelegate(const ImageFolders& image, QObject* parent)
        : QStyledItemDelegate(parent), image_(image) {}
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        return shownPath(image_, QStyledItemDelegate::displayText(value, locale));
    }

private:
    const ImageFolders& image_;
};

void showWindowsPathsInLookIn(QFileDialog& dialog, const ImageFolders& image) {
    auto* lookIn = dialog.findChild<QComboBox*>(QStringLiteral("lookInCombo"));
    if (!lookIn) return;
    auto* style = new WindowsPathLabelStyle(dialog, image);
    style->setParent(lookIn);
    lookIn->setStyle(style);
    lookIn->setItemDelegate(new WindowsPathDelegate(image, lookIn));
    const auto tip = [lookIn, &image, &dialog] {
        lookIn->setToolTip(shownPath(image, dialog.directory().absolutePath()));
    };
    QObject::connect(&dialog, &QFileDialog::directoryEntered, lookIn, tip, Qt::QueuedConnection);
    tip();
}

// Non-native, so that the dialog can be kept within the image and answered
// by tests; the sidebar lists the image's drives.
void prepare(QFileDialog& dialog, const ImageFolders& image, const fs::path& start) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(qtPath(start));
    QList<QUrl> drives;
    for (const auto& drive : driveFolders(image)) drives << QUrl::fromLocalFile(qtPath(drive));
    dialog.setSidebarUrls(drives);
    showWindowsPathsInLookIn(dialog, image);
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

std::string driveList(const ImageFolders& image) {
    std::string list;
    for (const auto& drive : driveFolders(image)) {
        list += (list.empty() ? "" : ", ") + drive.filename().string() + ":\\";
    }
    return list;
}

// The folder dialog on the image: its name box shows the Windows path of
// the folder at hand and takes a typed Windows path; a folder that is not on
// the image's drives is refused with a message, and the dialog stays open.
class ImageFolderDialog : public QFileDialog {
public:
    ImageFolderDialog(const ImageFolders& image, app::window::MessageService* messages,
                      QWidget* owner, const QString& title)
        : QFileDialog(owner, title), image_(image), messages_(messages) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly, true);
        setLabelText(QFileDialog::FileName, QStringLiteral("Folder:"));
        connect(this, &QFileDialog::directoryEntered, this, &ImageFolderDialog::showWindowsPath);
        // A folder picked in the list, not one the completer finds while
        // the user types.
        connect(this, &QFileDialog::currentChanged, this, [this](const QString& host) {
            auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name && !name->hasFocus()) showWindowsPath(host);
        });
    }

    // The dialog's own check greys its accept button for a Windows path;
    // after that check, a path naming a folder of the image enables it (any
    // other text is left to the dialog, and refused when accepted).
    void enableChooseForWindowsPaths() {
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) return;
        connect(name, &QLineEdit::textChanged, this, [this](const QString&) { updateChoose(); });
        updateChoose();
    }

    void updateChoose() {
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (!name || !buttons) return;
        const std::string typed = trimSpaces(name->text().toStdString());
        if (!isWindowsPath(typed)) return;
        const auto host = image_.hostPath(typed);
        std::error_code error;
        if (!host || !fs::is_directory(*host, error) || !imageWindowsPath(image_, *host)) return;
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                button->setEnabled(true);
        }
    }

    // The host folder accepted by the dialog itself (typed or selected).
    const std::optional<fs::path>& accepted() const { return accepted_; }

    void showWindowsPath(const QString& host) {
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) return;
        if (auto windows = imageWindowsPath(image_, host.toStdString())) {
            name->setText(QString::fromStdString(*windows));
        }
    }

    void accept() override {
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const std::string typed = name ? trimSpaces(name->text().toStdString()) : std::string();
        const auto host = chosenHost(typed);
        if (!host) return;
        accepted_ = *host;
        QDialog::accept();
    }

private:
    // The host folder a typed text names; a message and nothing when it is
    // not a folder on the image's drives.
    std::optional<fs::path> chosenHost(const std::string& typed) {
        if (typed.empty()) return fs::path(directory().absolutePath().toStdString());
        std::optional<fs::path> host;
        if (isWindowsPath(typed)) {
            host = image_.hostPath(typed);
        } else {
            fs::path given(typed);
            host = given.is_absolute() ? given
                                       : fs::path(directory().absolutePath().toStdString()) / given;
        }
        std::error_code error;
        if (!host || !imageWindowsPath(image_, *host)) {
            refuse("The folder " + typed +
                   " is outside the machine image; choose a folder on its drives (" +
                   driveList(image_) + ").");
            return std::nullopt;
        }
        if (!fs::is_directory(*host, error)) {
            refuse("The folder " + typed + " does not exist on the machine image.");
            return std::nullopt;
        }
        return host;
    }

    static bool isWindowsPath(const std::string& text) {
        return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) &&
               text[1] == ':';
    }

    void refuse(const std::string& text) {
        app::window::Message message;
        message.title = windowTitle().toStdString();
        message.text = text;
        message.icon = app::window::MessageIcon::Error;
        if (messages_) messages_->show(message);
    }

    const ImageFolders& image_;
    app::window::MessageService* messages_;
    std::optional<fs::path> accepted_;
};

}  // namespace

std::optional<std::string> imageWindowsPath(const ImageFolders& image, const fs::path& host) {
    std::error_code error;
    const fs::path root = fs::weakly_canonical(image.root(), error);
    if (error) return std::nullopt;
    const fs::path full = fs::weakly_canonical(host, error);
    if (error) return std::nullopt;
    const fs::path relative = full.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") return std::nullopt;
    return image.windowsPath(image.root() / relative);
}

fs::path startFolder(const ImageFolders& image, const std::string& windowsPath) {
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

ImageFolderChooser::ImageFolderChooser(const ImageFolders& image, QWidget* owner)
    : image_(image), owner_(owner) {}

std::string ImageFolderChooser::BrowseForFolder(const std::string& title,
                                                const std::string& start) {
    ImageFolderDialog dialog(image_, messages_, owner_, QString::fromStdString(title));
    const fs::path opened = startFolder(image_, start);
    prepare(dialog, image_, opened);
    dialog.showWindowsPath(QString::fromStdString(opened.string()));
    dialog.enableChooseForWindowsPaths();
    if (run(runner_, dialog) != QDialog::Accepted) return {};
    // The dialog's own acceptance, or (a runner's answer) its folder.
    const fs::path chosen = dialog.accepted()
                                ? *dialog.accepted()
                                : fs::path(dialog.directory().absolutePath().toStdString());
    if (auto windows = imageWindowsPath(image_, chosen)) return *windows;
    app::window::Message message;
    message.title = title;
    message.text = "The folder " + chosen.string() +
                   " is outside the machine image; choose a folder on its drives (" +
                   driveList(image_) + ").";
    message.icon = app::window::MessageIcon::Error;
    if (messages_) messages_->show(message);
    return {};
}

ImageFileChooser::ImageFileChooser(const ImageFolders& image, QWidget* owner)
    : image_(image), owner_(owner) {}

std::optional<std::string> ImageFileChooser::ChooseFile(const std::string& filter, int flags) {
    QFileDialog dialog(owner_, QStringLiteral("Open"));
    dialog.setFileMode((flags & app::window::kFileMustExist) ? QFileDialog::ExistingFile
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
