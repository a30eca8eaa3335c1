#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tessaron::winui {

// The standard file dialogs. Filters are pairs separated by vertical bars
// ("Text files (*.txt)|*.txt|All files (*.*)|*.*"); paths are returned as
// UTF-8; nothing when cancelled.
std::optional<std::string> chooseSaveFile(HWND owner, const std::string& title,
                                          const std::string& filter,
                                          const std::string& suggestedName,
                                          const std::string& extension);
std::optional<std::string> chooseOpenFile(HWND owner, const std::string& filter, DWORD flags,
                                          const std::string& startFolder = {});

// The shell's folder browser (SHBrowseForFolder) opened on the start folder;
// nothing when cancelled.
std::optional<std::string> browseForFolder(HWND owner, const std::string& title,
                                           const std::string& startFolder);

}  // namespace tessaron::winui
