#include "WindowsTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>

#include "platform/WideText.h"
#include "platform/windows/Win32.h"
#include "platform/windows/WindowsRegistry.h"
#include "platform/windows/WindowsSystemQueries.h"
#include "support/TestMachine.h"

namespace fs = std::filesystem;

namespace tessaron::testing {
namespace {

constexpr bool kThisProgramIs32Bit = sizeof(void*) == 4;

std::string regText(const std::string& text) {
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' || c == '"' ? std::string("\\") + c : std::string(1, c);
    return "\"" + escaped + "\"";
}

}  // namespace

std::string programFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().string();
}

std::string builtProgram(const std::string& fileName) {
    // The test program is in tests\windows of the build tree.
    return programFolder() + "\\..\\..\\" + fileName;
}

unsigned long runProgram(const std::string& commandLine, std::string* output) {
    auto line = toWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // The program's standard output and error go to one inheritable file.
    std::optional<TempFolder> folder;
    HANDLE file = INVALID_HANDLE_VALUE;
    if (output) {
        folder.emplace();
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        file = CreateFileW(toWide(*folder / "output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot capture the output");
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = file;
        startup.hStdError = file;
    }
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr,
                                        0, nullptr, nullptr, &startup, &process);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!started) throw std::runtime_error("cannot start " + commandLine);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (output) {
        // A console program's text mode writes line ends as CR LF.
        *output = readBytes(*folder / "output.txt");
        std::erase(*output, '\r');
    }
    return code;
}

void importRegistry(const std::string& body, bool view32) {
    TempFolder folder;
    const auto file = folder / "import.reg";
    // regedit's own format: UTF-16LE with a byte-order mark.
    const auto text = toWide("Windows Registry Editor Version 5.00\r\n\r\n" + body);
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    writeBytes(file, bytes);
    const auto code = runProgram("reg.exe import \"" + file + "\" /reg:" + (view32 ? "32" : "64"));
    if (code != 0) throw std::runtime_error("reg import failed with " + std::to_string(code));
}

void deleteMachineKey(const std::string& keyPath) {
    for (const char* view : {"64", "32"}) {
        runProgram("reg.exe delete \"HKLM\\" + keyPath + "\" /f /reg:" + view);
    }
}

TempFolder::TempFolder() {
    std::random_device random;
    const auto base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("tessaron-windows-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(path_, ignored);
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fs::path(toWide(path)), std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(fs::path(toWide(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void setReadOnly(const std::string& path, bool readOnly) {
    SetFileAttributesW(toWide(path).c_str(),
                       readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

RegisteredServer::RegisteredServer(std::string classId, const std::string& dllName,
                                   std::string progId)
    : classId_(std::move(classId)), progId_(std::move(progId)) {
    const auto serverKey = "SOFTWARE\\Classes\\CLSID\\" + classId_ + "\\InprocServer32";
    previousServer_ = registryValueText(platform::windows::readMachineValue(serverKey, ""));
    std::string body = "[HKEY_LOCAL_MACHINE\\" + serverKey +
                       "]\r\n@=" + regText(programFolder() + "\\" + dllName) +
                       "\r\n\"ThreadingModel\"=\"Apartment\"\r\n\r\n";
    if (!progId_.empty()) {
        body += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\" + progId_ +
                "\\CLSID]\r\n@=" + regText(classId_) + "\r\n\r\n";
    }
    // A 32-bit program finds classes in the registry's 32-bit view.
    importRegistry(body, kThisProgramIs32Bit);
}

RegisteredServer::~RegisteredServer() {
    try {
        if (!progId_.empty()) deleteMachineKey("SOFTWARE\\Classes\\" + progId_);
        if (previousServer_.empty()) {
            deleteMachineKey("SOFTWARE\\Classes\\CLSID\\" + classId_);
        } else {
            importRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + classId_ +
                               "\\InprocServer32]\r\n@=" + regText(previousServer_) + "\r\n\r\n",
                           kThisProgramIs32Bit);
        }
    } catch (...) {
        // The prefix is thrown away after the tests.
    }
}

RegisteredTestIis::RegisteredTestIis(const std::string& metabaseFile)
    : RegisteredServer("{7A1C5E2B-4D3F-4A6B-8C9D-0E1F2A3B4C5D}", "TessaronTestIis.dll", "IIS") {
    SetEnvironmentVariableW(L"TESSARON_TEST_METABASE", toWide(metabaseFile).c_str());
}

LocalSample::LocalSample() {
    const auto sample = sourceDir() / "examples" / "machines" / "windows2003" / "C";
    fs::copy(sample / "Tessaron", fs::path(folder / "Tessaron"), fs::copy_options::recursive);
    fs::copy_file(sample / "WINDOWS" / "system32" / "inetsrv" / "MetaBase.xml",
                  fs::path(metabase()));
    importRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\r\n\"Install_Dir\"=" +
                   regText(folder / "Tessaron") + "\r\n\r\n");
    platform::windows::WindowsSystemQueries system;
    frontPage_ =
        fs::path(toWide(system.GetProgramFilesDir() +
                        "\\Common Files\\Microsoft Shared\\Web Server Extensions\\50\\bin"));
    hadFrontPage_ = fs::exists(frontPage_ / "owsadm.exe");
    fs::create_directories(frontPage_);
    if (!hadFrontPage_) writeBytes((frontPage_ / "owsadm.exe").string(), "MZ");
    // A server has it; wine's system folder does not.
    logFiles_ = fs::path(toWide(system.GetWindowsDir() + "\\System32\\LogFiles"));
    hadLogFiles_ = fs::exists(logFiles_);
    fs::create_directories(logFiles_);
    master_ = std::make_unique<RegisteredTestMaster>();
    iis_ = std::make_unique<RegisteredTestIis>(metabase());
    dns_ = std::make_unique<RegisteredDnsNamespace>();
    SetEnvironmentVariableW(L"TESSARON_TEST_COMMANDS", toWide(commands()).c_str());
}

LocalSample::~LocalSample() {
    SetEnvironmentVariableW(L"TESSARON_TEST_COMMANDS", nullptr);
    dns_.reset();
    iis_.reset();
    master_.reset();
    try {
        deleteMachineKey("SOFTWARE\\Tessaron");
    } catch (...) {
        // The prefix is thrown away after the tests.
    }
    std::error_code kept;  // a folder the run wrote logs into stays
    if (!hadFrontPage_) fs::remove(frontPage_ / "owsadm.exe", kept);
    if (!hadLogFiles_) fs::remove(logFiles_, kept);
}

}  // namespace tessaron::testing
