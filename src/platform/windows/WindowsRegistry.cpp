#include "platform/windows/WindowsRegistry.h"

#include <optional>
#include <vector>

#include "platform/WideText.h"
#include "platform/windows/Win32.h"

namespace tessaron::platform::windows {
namespace {

// The registry's own codes are the ones RegistryType names.
static_assert(static_cast<DWORD>(RegistryType::String) == REG_SZ);
static_assert(static_cast<DWORD>(RegistryType::ExpandString) == REG_EXPAND_SZ);
static_assert(static_cast<DWORD>(RegistryType::Binary) == REG_BINARY);
static_assert(static_cast<DWORD>(RegistryType::DWord) == REG_DWORD);
static_assert(static_cast<DWORD>(RegistryType::MultiString) == REG_MULTI_SZ);

std::wstring expanded(const std::wstring& text) {
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::wstring out(size, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(text.c_str(), out.data(), size);
    if (written == 0 || written > size) return text;
    out.resize(written - 1);  // without the terminating NUL
    return out;
}

// The text of string data, which need not end with a NUL.
std::wstring stringData(const std::vector<BYTE>& data) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    const auto end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

std::vector<std::string> multiStringData(const std::vector<BYTE>& data) {
    const std::wstring all(reinterpret_cast<const wchar_t*>(data.data()),
                           data.size() / sizeof(wchar_t));
    std::vector<std::string> texts;
    std::size_t start = 0;
    while (start < all.size()) {
        const auto end = all.find(L'\0', start);
        const auto piece =
            all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (piece.empty()) break;  // the empty string ends the list
        texts.push_back(fromWide(piece));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return texts;
}

// The value in one view of the registry; nullopt when the key or the value
// is missing there.
std::optional<RegistryValue> readInView(const std::wstring& keyPath, const std::wstring& name,
                                        REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size + sizeof(wchar_t));  // room for a missing NUL
        DWORD got = size;
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
        if (status == ERROR_SUCCESS) {
            data.resize(got);
            break;
        }
        size = got;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;

    switch (static_cast<RegistryType>(type)) {
        case RegistryType::String:
            return RegistryValue(fromWide(stringData(data)));
        case RegistryType::ExpandString:
            return RegistryValue(fromWide(expanded(stringData(data))));
        case RegistryType::Binary:
            return RegistryValue(std::vector<std::uint8_t>(data.begin(), data.end()));
        case RegistryType::DWord: {
            std::uint32_t number = 0;
            for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
                number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
            }
            return RegistryValue(number);
        }
        case RegistryType::MultiString:
            return RegistryValue(multiStringData(data));
        default:
            return RegistryValue(std::string());
    }
}

}  // namespace

RegistryValue readMachineValue(const std::string& keyPath, const std::string& valueName) {
    try {
        const auto key = toWide(keyPath);
        const auto name = toWide(valueName);
        if (auto value = readInView(key, name, KEY_WOW64_64KEY)) return *value;
        if (auto value = readInView(key, name, KEY_WOW64_32KEY)) return *value;
    } catch (...) {
        // Never fails towards the caller.
    }
    return std::string();
}

}  // namespace tessaron::platform::windows
