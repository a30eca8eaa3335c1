#include "support/MachineRun.h"

#include <utility>

namespace tessaron::testing {

MachineRun::MachineRun(const TestMachine& machine, SettingsRecord record, InstallOptions chosen,
                       Database* database, const PlatformDecorator& decorate)
    : MachineRun(std::nullopt, &machine, std::move(record), chosen, database, decorate) {}

MachineRun::MachineRun(TestMachine&& machine, SettingsRecord record, InstallOptions chosen,
                       Database* database, const PlatformDecorator& decorate)
    : MachineRun(std::optional<TestMachine>(std::move(machine)), nullptr, std::move(record), chosen,
                 database, decorate) {}

MachineRun::MachineRun(std::optional<TestMachine> own, const TestMachine* other,
                       SettingsRecord record, InstallOptions chosen, Database* database,
                       const PlatformDecorator& decorate)
    : own_(std::move(own)),
      machine(own_ ? *own_ : *other),
      settings(std::move(record)),
      options(chosen),
      image(machine.root(), database),
      decorated(decorate ? decorate(image) : nullptr),
      run(settings, options, decorated ? *decorated : static_cast<Platform&>(image), log) {}

}  // namespace tessaron::testing
