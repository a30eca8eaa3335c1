#include "support/app/AppMachine.h"

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "run/ConfigFileWriter.h"
#include "settings/SiteChoices.h"

namespace tessaron::app::testing {

using window::MessageAnswer;
using window::SettingsWindow;

std::vector<std::string> configIncAfterInstall(WindowOnMachine& w) {
    w.controls().press("btnInstall");
    SettingsRecord settings = w.settings;
    const InstallOptions options;
    ProgressLog log;
    RunContext run(settings, options, w.image, log);
    ConfigFileWriter(run);
    if (run.RunError) ADD_FAILURE() << log.text();
    std::vector<std::string> lines =
        splitText(w.machine.readFile(configFilePath(settings)), "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

WindowOnMachine::WindowOnMachine(const tessaron::testing::MachineSetup& setup, MessageAnswer answer,
                                 bool load)
    : machine(tessaron::testing::TestMachine::described(setup)), image(machine.root()) {
    messages.answer = answer;
    window = std::make_unique<SettingsWindow>(image, settings, messages);
    if (load) result = window->Load();
}

}  // namespace tessaron::app::testing
