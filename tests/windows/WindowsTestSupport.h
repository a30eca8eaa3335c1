#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace tessaron::testing {

// Runs a command line (reg.exe, ...) and returns its exit code; with
// `output`, what the program wrote to standard output and standard error
// (line ends as LF).
unsigned long runProgram(const std::string& commandLine, std::string* output = nullptr);

// Imports a regedit export (text without the header line) into the registry's
// 64-bit or 32-bit view with reg.exe, as an administrator does.
void importRegistry(const std::string& body, bool view32 = false);
// Removes a key of HKEY_LOCAL_MACHINE in both views.
void deleteMachineKey(const std::string& keyPath);

// A fresh folder under the temporary folder, removed when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);
void setReadOnly(const std::string& path, bool readOnly);

// Registers an in-process server beside the test program (a DLL of the test
// build) for a class, and optionally a name for it, while the object lives;
// what was registered for the class before comes back afterwards.
class RegisteredServer {
public:
    RegisteredServer(std::string classId, const std::string& dllName, std::string progId = {});
    ~RegisteredServer();
    RegisteredServer(const RegisteredServer&) = delete;
    RegisteredServer& operator=(const RegisteredServer&) = delete;

private:
    std::string classId_;
    std::string progId_;
    std::string previousServer_;
};

// The stand-in panel component registered as Tessaron.Master.
struct RegisteredTestMaster : RegisteredServer {
    RegisteredTestMaster()
        : RegisteredServer("{6E2B4C1A-3F0D-4E8B-9A57-1C2D3E4F5A6B}", "TessaronTestMaster.dll",
                           "Tessaron.Master") {}
};

// The stand-in IIS provider registered under the name IIS, serving the given
// MetaBase.xml.
struct RegisteredTestIis : RegisteredServer {
    explicit RegisteredTestIis(const std::string& metabaseFile);
};

// The stand-in for the DNS server's WMI provider: WMI's locator class taken
// over by a server that reaches root\MicrosoftDNS (and nothing else).
struct RegisteredDnsNamespace : RegisteredServer {
    RegisteredDnsNamespace()
        : RegisteredServer("{4590F811-1D3A-11D0-891F-00AA004B2E24}", "TessaronTestIis.dll") {}
};

// The Windows Server 2003 sample's panel folder and metabase in a fresh
// folder, set up as this machine's while the object lives: the installation
// directory in the registry, the FrontPage administration tool and IIS's log
// folder where the run's checks look for them, the stand-in panel component,
// IIS provider (serving the copied metabase) and DNS namespace registered,
// and the component's commands recorded in commands.log.
class LocalSample {
public:
    LocalSample();
    ~LocalSample();
    LocalSample(const LocalSample&) = delete;
    LocalSample& operator=(const LocalSample&) = delete;

    TempFolder folder;
    std::string metabase() const { return folder / "MetaBase.xml"; }
    std::string commands() const { return folder / "commands.log"; }

private:
    std::filesystem::path frontPage_;
    bool hadFrontPage_ = false;
    std::filesystem::path logFiles_;
    bool hadLogFiles_ = false;
    std::unique_ptr<RegisteredTestMaster> master_;
    std::unique_ptr<RegisteredTestIis> iis_;
    std::unique_ptr<RegisteredDnsNamespace> dns_;
};

// The folder of the test program (where the stand-in servers are).
std::string programFolder();
// A program of this build: tessaron-config.exe or its console companion
// tessaron-config.com, at the top of the build tree.
std::string builtProgram(const std::string& fileName);
}  // namespace tessaron::testing
