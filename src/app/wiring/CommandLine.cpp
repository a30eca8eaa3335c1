#include "app/wiring/CommandLine.h"

namespace tessaron::app::wiring {

std::string installOptionsText(const InstallOptions& options, const std::string& separator) {
    std::string list;
    const auto add = [&](bool on, const char* word) {
        if (on) list += (list.empty() ? "" : separator) + std::string(word);
    };
    add(options.CreateTasks, "tasks");
    add(options.InitializeDatabase, "database");
    add(options.SetUpSites, "sites");
    return list;
}

}  // namespace tessaron::app::wiring
