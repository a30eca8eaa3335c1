// The Windows program's window start. This build has no settings window of
// its own yet: it says in a message box what the program needs and how to
// run it from a command prompt, so that a start from Explorer does not end
// without a word.
#include "main/windows/SettingsWindowStart.h"

#include <windows.h>

#include "app/wiring/CommandLine.h"
#include "platform/WideText.h"
#include "platform/windows/IisProviderHint.h"

namespace tessaron::startup {

int openSettingsWindow(const app::Backend& /*backend*/,
                       const std::optional<std::string>& /*machine*/) {
    std::string text =
        "This build of the Tessaron Configuration Utility has no settings window.\n\n"
        "To configure this server, open a command prompt as an administrator and run\n\n"
        "    tessaron-config --answers FILE --options tasks,database,sites\n\n"
        "where FILE is an answers file with one CONTROL = VALUE line for each setting "
        "(tessaron-config --help lists every option).\n\n"
        "The program needs: administrator rights; the Tessaron panel put on this server "
        "by its own installer (its installation folder in the registry and its component "
        "Tessaron.Master); IIS with its metabase; and the ODBC driver of the database "
        "server.";
    if (const auto hint = platform::windows::iisProviderHint()) text += "\n\n" + *hint;
    MessageBoxW(nullptr, toWide(text).c_str(), L"Tessaron Configuration Utility",
                MB_OK | MB_ICONINFORMATION);
    return app::exit_status::kUsage;
}

}  // namespace tessaron::startup
