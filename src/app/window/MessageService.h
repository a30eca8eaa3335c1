#pragma once

#include <optional>
#include <string>

namespace tessaron::app::window {

enum class MessageIcon { None, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// One message box: the window's load step numbers its boxes 1 to 7 (8 for a
// configuration file that exists but cannot be read).
struct Message {
    int id = 0;
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // Yes/No boxes: the answer Enter gives. No for a question whose Yes
    // destroys something or exposes a secret.
    MessageAnswer defaultAnswer = MessageAnswer::Yes;
};

// Shows message boxes and asks questions: dialogs in the window, standard
// error and the --yes switch in unattended mode. show() returns once the box
// is closed; for Ok boxes the answer is Ok.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer show(const Message& message) = 0;
};

// The folder browser behind the "..." buttons: returns the chosen folder as
// a Windows path, or empty text when the administrator cancelled.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    virtual std::string BrowseForFolder(const std::string& title,
                                        const std::string& startFolder) = 0;
};

// The open-file dialog (CommonDialog1): filter pairs separated by vertical
// bars ("Perl Executable (perl.exe)|perl.exe"), flags as the dialog takes them
// (4096: the file must exist). Returns the full Windows path of the chosen
// file, or nothing when cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> ChooseFile(const std::string& filter, int flags) = 0;
};

inline constexpr int kFileMustExist = 4096;

}  // namespace tessaron::app::window
