#include "platform/windows/WindowsSystemQueries.h"

// winsock2.h ahead of the windows.h that wbemcli.h brings in (see Win32.h).
// clang-format off
#include <winsock2.h>
#include <wbemcli.h>
// clang-format on

#include <vector>

#include "platform/ScriptingErrors.h"
#include "platform/WideText.h"
#include "platform/WindowsPath.h"
#include "platform/windows/ComSupport.h"
#include "platform/windows/WindowsRegistry.h"

namespace tessaron::platform::windows {
namespace {

const char* const kWindowsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string withoutTrailingBackslash(std::string path) {
    // "C:\" keeps its backslash: it is the drive's root.
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// Dotted text of an address in network byte order, as inet_ntoa writes it.
std::string dottedAddress(DWORD networkOrder) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&networkOrder);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
           std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

}  // namespace

std::string WindowsSystemQueries::GetFirstIPAddress() {
    ULONG size = 0;
    if (GetIpAddrTable(nullptr, &size, TRUE) != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::vector<unsigned char> buffer(size);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
    if (GetIpAddrTable(table, &size, TRUE) != NO_ERROR || table->dwNumEntries == 0) return {};
    return dottedAddress(table->table[0].dwAddr);
}

RegistryValue WindowsSystemQueries::ReadRegistryValue(const std::string& keyPath,
                                                      const std::string& valueName) {
    return readMachineValue(keyPath, valueName);
}

std::string WindowsSystemQueries::GetWindowsDir() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return {};
    return fromWide(std::wstring_view(buffer, length));
}

std::string WindowsSystemQueries::GetSystemDir() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return {};
    return fromWide(std::wstring_view(buffer, length)) + std::string(1, '\0');
}

std::string WindowsSystemQueries::GetTempFolder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    if (length == 0 || length > MAX_PATH + 1) throw scripting_error::pathNotFound();
    return withoutTrailingBackslash(fromWide(std::wstring_view(buffer, length)));
}

std::string WindowsSystemQueries::OperatingSystemVersion() {
    return kernelVersionText();
}

std::string kernelVersionText() {
    // RtlGetVersion answers for the system itself; GetVersionEx would answer
    // for the program's compatibility settings.
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto call = ntdll ? reinterpret_cast<RtlGetVersionCall>(
                                  reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                            : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!call || call(&info) != 0) throw wmi_error::genericFailure();
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

std::vector<OperatingSystemInstance> WindowsWmi::OperatingSystems() {
    OperatingSystemInstance instance;
    instance.Organization =
        registryValueText(readMachineValue(kWindowsNt, "RegisteredOrganization"));
    instance.RegisteredUser = registryValueText(readMachineValue(kWindowsNt, "RegisteredOwner"));
    instance.Version = kernelVersionText();
    return {instance};
}

void WindowsWmi::ConnectServer(const std::string& nameSpace) {
    enterComApartment();
    ComPtr<IWbemLocator> locator;
    HRESULT result = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWbemLocator, reinterpret_cast<void**>(locator.out()));
    if (FAILED(result)) throw wmi_error::genericFailure();
    // An empty namespace is WMI's default one.
    BSTR wanted = newBstr(nameSpace.empty() ? std::string("root\\cimv2") : nameSpace);
    ComPtr<IWbemServices> services;
    result = locator->ConnectServer(wanted, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                    services.out());
    SysFreeString(wanted);
    if (SUCCEEDED(result)) return;
    switch (static_cast<long>(result)) {
        case wmi_error::kInvalidNamespace:
            throw wmi_error::invalidNamespace();
        case wmi_error::kAccessDenied:
            throw wmi_error::accessDenied();
        case wmi_error::kGenericFailure:
            throw wmi_error::genericFailure();
        default:
            throw PlatformError(static_cast<long>(result), systemMessage(result));
    }
}

}  // namespace tessaron::platform::windows
