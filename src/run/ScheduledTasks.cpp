#include "run/ScheduledTasks.h"

#include <memory>

#include "platform/CommandLineQuoting.h"

namespace tessaron {

std::string taskCommandLine(const std::string& installDir, const std::string& username,
                            const std::string& password, const std::string& taskName,
                            const std::string& scriptFile) {
    // Each value is one argument of the tool whatever it holds: a quote or a
    // trailing backslash in a password cannot end it early or add switches.
    const auto q = [](const std::string& value) { return quoteCommandLineArgument(value); };
    return installDir + "\\bin\\jt.exe /snj " + q(taskName) + " /sc " + q(username) + " " +
           q(password) +
           " /ctj starttime=00:00 type=daily /sj workingdirectory=" + q(installDir + "\\bin") +
           " applicationname=" + q(installDir + "\\bin\\" + scriptFile);
}

void createScheduledTasks(RunContext& run) {
    const SettingsRecord& settings = run.settings;
    run.AddProgressText("Creating task for bandwidth update...");
    auto component = run.attempt([&] { return run.platform.CreatePanelComponent(); });
    auto execute = [&](const std::string& commandLine) {
        if (component && *component) run.attempt([&] { (*component)->Execute(commandLine); });
    };

    execute(taskCommandLine(settings.InstallDir, settings.AdminUsername, settings.AdminPassword,
                            "Tessaron - Update Bandwidth", "updatebandwidth.vbs"));
    if (isTrue(settings.EnableStatistics)) {
        run.AddProgressText("Creating task for statistics update...");
        execute(taskCommandLine(settings.InstallDir, settings.AdminUsername, settings.AdminPassword,
                                "Tessaron - Update Statistics", "updatestats.vbs"));
    }
}

}  // namespace tessaron
