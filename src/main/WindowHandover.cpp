#include "main/WindowHandover.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "app/wiring/ExitStatus.h"

namespace tessaron::startup {
namespace {

int cannotStart(const std::string& what, const std::error_code& reason) {
    std::cerr << "tessaron-config: cannot start the settings window " << what << ": "
              << reason.message() << '\n';
    return app::wiring::exit_status::kInternalError;
}

}  // namespace

int handOverToWindowProgram(char** argv) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return cannotStart(std::string(kWindowProgramName) + " (the folder of /proc/self/exe)",
                           error);
    }
    const std::string program = (self.parent_path() / kWindowProgramName).string();
    // Whatever this process still buffers would be lost with it.
    std::cout.flush();
    std::cerr.flush();
    execv(program.c_str(), argv);
    return cannotStart(program, std::error_code(errno, std::generic_category()));
}

}  // namespace tessaron::startup
