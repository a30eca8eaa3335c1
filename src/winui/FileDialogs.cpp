#include "winui/FileDialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform/WideText.h"

namespace tessaron::winui {
namespace {

// "a|b|c|d" as the dialogs take it: "a\0b\0c\0d\0\0".
std::wstring filterPairs(const std::string& filter) {
    std::wstring pairs = toWide(filter);
    for (auto& character : pairs) {
        if (character == L'|') character = L'\0';
    }
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

int CALLBACK startAt(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    }
    return 0;
}

std::optional<std::string> runFileDialog(OPENFILENAMEW& dialog, std::vector<wchar_t>& path,
                                         bool save) {
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // understood by every release
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return fromWide(path.data());
}

}  // namespace

std::optional<std::string> chooseSaveFile(HWND owner, const std::string& title,
                                          const std::string& filter,
                                          const std::string& suggestedName,
                                          const std::string& extension) {
    const std::wstring filters = filterPairs(filter);
    const std::wstring caption = toWide(title);
    const std::wstring defaultExtension = toWide(extension);
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    const std::wstring suggested = toWide(suggestedName);
    suggested.copy(path.data(), path.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    return runFileDialog(dialog, path, true);
}

std::optional<std::string> chooseOpenFile(HWND owner, const std::string& filter, DWORD flags,
                                          const std::string& startFolder) {
    const std::wstring filters = filterPairs(filter);
    const std::wstring start = toWide(startFolder);
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    dialog.Flags = flags | OFN_HIDEREADONLY | OFN_EXPLORER;
    return runFileDialog(dialog, path, false);
}

std::optional<std::string> browseForFolder(HWND owner, const std::string& title,
                                           const std::string& startFolder) {
    const std::wstring prompt = toWide(title);
    const std::wstring start = toWide(startFolder);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = prompt.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = &startAt;
    browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const BOOL named = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    if (!named) return std::nullopt;
    return fromWide(path);
}

}  // namespace tessaron::winui
