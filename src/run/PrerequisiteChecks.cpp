#include "run/PrerequisiteChecks.h"

#include <memory>

#include "settings/ConfigFileBody.h"

namespace tessaron {

namespace {

constexpr const char* kDnsNamespace = "root\\microsoftdns";

// One working directory of the panel with the log lines of its outcomes.
// The path is placed between invalidBefore and invalidAfter, and after
// createFailedBefore (followed by " - " and the failure's description).
struct WorkingDirectory {
    std::string (*path)(const SettingsRecord&);
    bool (*applies)(const SettingsRecord&);
    const char* exists;
    const char* invalidBefore;
    const char* invalidAfter;
    const char* createFailedBefore;
    const char* created;
};

bool always(const SettingsRecord&) {
    return true;
}

const std::vector<WorkingDirectory> kWorkingDirectories = {
    {[](const SettingsRecord& s) { return s.ServerRoot; }, always, "Accounts directory OK.",
     "ERROR: Accounts directory ", " is invalid.", "ERROR: Could not create accounts directory at ",
     "Accounts directory created."},
    {[](const SettingsRecord& s) { return s.InstallDir + "\\temp"; }, always, "Temp directory OK.",
     "ERROR: Temp directory ", " is invalid.", "ERROR: Could not create temp directory at ",
     "Temp directory created."},
    {[](const SettingsRecord& s) { return s.LogRoot; }, always, "Logfile directory OK.",
     "ERROR: Logfile directory ", " is invalid.", "ERROR: Could not create logfile directory at ",
     "Logfile directory created."},
    {[](const SettingsRecord& s) { return s.FTPLinkPath; },
     [](const SettingsRecord& s) {
         return isTrue(s.FTPServerEnabled) && s.FTPServerType == "BulletProof FTP";
     },
     "FTP link directory OK.", "ERROR: FTP link directory ", " is invalid.",
     "ERROR: Could not create FTP link directory at ", "FTP link directory created."},
};

bool connectDnsProvider(RunContext& run) {
    return run.attempt([&] { run.platform.Management().ConnectServer(kDnsNamespace); });
}

// Copies the provider's schema and library into the system's WBEM folder,
// compiles the schema and registers the library. No step is tested on its
// own: only the connection afterwards tells whether the provider works.
void installDnsProvider(RunContext& run) {
    const SettingsRecord& settings = run.settings;
    auto component = run.attempt([&] { return run.platform.CreatePanelComponent(); });

    std::string system = run.platform.System().GetSystemDir();
    // The system folder comes with the NUL that ends it.
    if (!system.empty() && system.back() == '\0') system.pop_back();
    const std::string wbem = system + "\\WBEM";

    FileSystem& files = run.platform.Files();
    const auto wbemExists = run.attempt([&] { return files.FolderExists(wbem); });
    if (!wbemExists.value_or(false)) run.attempt([&] { files.CreateFolder(wbem); });
    run.attempt([&] {
        files.CopyFile(settings.InstallDir + "\\bin\\dnsschema.mof", wbem + "\\dnsschema.mof",
                       true);
    });
    run.attempt([&] {
        files.CopyFile(settings.InstallDir + "\\bin\\dnsprov.dll", wbem + "\\dnsprov.dll", true);
    });

    const std::string commands[] = {
        wbem + "\\MOFCOMP.EXE DNSSCHEMA.MOF",
        system + "\\REGSVR32.EXE " + wbem + "\\DNSPROV.DLL",
    };
    for (const auto& command : commands) {
        if (component && *component) run.attempt([&] { (*component)->Execute(command); });
    }
}

// False after logging the DNS error line.
bool checkDnsProvider(RunContext& run) {
    if (connectDnsProvider(run)) {
        run.AddProgressText("DNS WMI provider OK.");
        return true;
    }
    // A release that cannot be told is not Windows 2000.
    const auto release = run.attempt([&] { return run.platform.System().GetServerOSVersion(); });
    if (!release || *release != 2000) {
        run.AddProgressText(kDnsProviderErrorLine);
        return false;
    }
    installDnsProvider(run);
    run.AddProgressText("DNS WMI provider registered.  Reinitializing...");
    run.failure.clear();
    if (!connectDnsProvider(run)) {
        run.AddProgressText(kDnsProviderErrorLine);
        return false;
    }
    run.AddProgressText("DNS WMI provider OK.");
    return true;
}

// False after logging the directory's error line.
bool prepareWorkingDirectory(RunContext& run, const WorkingDirectory& directory) {
    FileSystem& files = run.platform.Files();
    const std::string path = directory.path(run.settings);
    if (run.attempt([&] { return files.FolderExists(path); }).value_or(false)) {
        run.AddProgressText(directory.exists);
        return true;
    }
    if (run.failure.failed()) {
        run.AddProgressText(std::string(directory.invalidBefore) + path + directory.invalidAfter);
        return false;
    }
    if (!run.attempt([&] { files.CreateFolder(path); })) {
        run.AddProgressText(std::string(directory.createFailedBefore) + path + " - " +
                            run.failure.description());
        return false;
    }
    run.AddProgressText(directory.created);
    return true;
}

}  // namespace

bool runPrerequisiteChecks(RunContext& run) {
    const SettingsRecord& settings = run.settings;
    if (settings.DNSServer == "Microsoft DNS" && isTrue(settings.DNSServerEnabled)) {
        if (!checkDnsProvider(run)) return false;
    }

    const std::string frontPage = frontPage2002ToolPath(run.platform.System().GetProgramFilesDir());
    if (!run.attempt([&] { return run.platform.Files().FileExists(frontPage); }).value_or(false)) {
        run.AddProgressText(kFrontPageErrorLine);
        return false;
    }

    for (const auto& directory : kWorkingDirectories) {
        if (!directory.applies(settings)) continue;
        if (!prepareWorkingDirectory(run, directory)) return false;
    }
    return true;
}

}  // namespace tessaron
