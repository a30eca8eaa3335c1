#include "run/ScheduledTasks.h"

#include <memory>

#include "platform/CommandLineQuoting.h"
#include "run/TaskRecord.h"

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
    TaskRecord record(run);
    // One daily task: its log lines and script.
    struct Task {
        const char* name;
        const char* script;
        const char* creating;   // logged before it is registered
        const char* unchanged;  // logged instead when its command line is registered already
    };
    const Task bandwidth{"Tessaron - Update Bandwidth", "updatebandwidth.vbs",
                         "Creating task for bandwidth update...",
                         "Task for bandwidth update is registered already."};
    const Task statistics{"Tessaron - Update Statistics", "updatestats.vbs",
                          "Creating task for statistics update...",
                          "Task for statistics update is registered already."};

    // One component for the stage, created when the first task needs it.
    std::unique_ptr<PanelComponent> component;
    bool componentCreated = false;
    const auto registerTask = [&](const Task& task) {
        const std::string commandLine =
            taskCommandLine(settings.InstallDir, settings.AdminUsername, settings.AdminPassword,
                            task.name, task.script);
        if (record.registered(task.name, commandLine)) {
            run.AddProgressText(task.unchanged);
            return;
        }
        run.AddProgressText(task.creating);
        if (!componentCreated) {
            componentCreated = true;
            auto created = run.attempt([&] { return run.platform.CreatePanelComponent(); });
            if (created) component = std::move(*created);
        }
        if (component && run.attempt([&] { component->Execute(commandLine); })) {
            record.remember(task.name, commandLine);
        }
    };

    registerTask(bandwidth);
    if (isTrue(settings.EnableStatistics)) registerTask(statistics);
    record.save();
}

}  // namespace tessaron
