// The unattended front end: the settings window driven from an answers file,
// with message boxes on standard error and the run's log on standard output.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/AnswersFile.h"
#include "app/CommandLine.h"
#include "app/ProgressRun.h"
#include "app/SettingsWindow.h"
#include "platform/Failure.h"
#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"
#ifdef _WIN32
#include "platform/windows/LocalMachine.h"
#endif

namespace tessaron::app {
namespace {

const char* const kProgram = "tessaron-config";

// The backend without --machine: the Windows machine the program runs on,
// where the program is built for Windows.
#ifdef _WIN32
constexpr bool kLocalMachine = true;
std::unique_ptr<Platform> openLocalMachine(Database& database) {
    return platform::windows::openLocalMachine(database);
}
#else
constexpr bool kLocalMachine = false;
std::unique_ptr<Platform> openLocalMachine(Database&) { return nullptr; }
#endif

// Message boxes print "TITLE: TEXT"; the one question is answered by --yes.
class ConsoleMessages : public MessageService {
public:
    ConsoleMessages(std::ostream& err, bool yes) : err_(err), yes_(yes) {}

    MessageAnswer show(const Message& message) override {
        err_ << message.title << ": " << message.text << '\n' << std::flush;
        if (message.buttons == MessageButtons::YesNo) {
            return yes_ ? MessageAnswer::Yes : MessageAnswer::No;
        }
        return MessageAnswer::Ok;
    }

private:
    std::ostream& err_;
    bool yes_;
};

std::string readAnswersFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw UsageError("cannot read answers file " + path + ": " +
                         (std::filesystem::exists(path, error) ? "not a regular file"
                                                               : "no such file"));
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in) content << in.rdbuf();
    if (!in || in.bad()) {
        throw UsageError("cannot read answers file " + path + ": " + std::strerror(errno));
    }
    return content.str();
}

// Splits "--name=value" and takes "--name value" from the next argument.
bool takeValue(const std::vector<std::string>& args, std::size_t& index, const std::string& name,
               std::optional<std::string>& value) {
    const std::string& arg = args[index];
    if (arg == name) {
        if (index + 1 >= args.size()) throw UsageError(name + " needs a value");
        value = args[++index];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

std::string usageText() {
    return "Usage:\n"
           "  tessaron-config [--machine DIR]\n"
           "      opens the settings window on the machine image DIR\n"
           "  tessaron-config --machine DIR --answers FILE [--options LIST] [--yes]\n"
           "      configures the machine image DIR without the window\n"
           "\n"
           "Options:\n"
           "  --machine DIR    the machine image folder to configure\n"
           "  --answers FILE   answers file: one CONTROL = VALUE a line (a control of the\n"
           "                   settings window); blank lines and lines starting with # are\n"
           "                   skipped; a value in double quotes is taken exactly\n"
           "  --options LIST   comma-separated stages to run besides the configuration\n"
           "                   file: tasks, database, sites (none when absent)\n"
           "  --yes            answer Yes when the machine is already configured, which\n"
           "                   reads its existing config.inc first (otherwise: No, and the\n"
           "                   program ends)\n"
           "  --help           prints this text\n"
           "\n"
           "Messages go to standard error as \"TITLE: TEXT\"; the run's log goes to\n"
           "standard output as it is written.\n"
           "\n"
           "Exit status: 0 run completed; 1 run completed with RunError set; 2 a check\n"
           "stopped the run; 3 the program ended at load; 64 usage error.\n" +
           std::string(kLocalMachine
                           ? "\nWithout --machine the program configures this Windows machine "
                             "itself\n(registry, files, WMI, the panel component, IIS through "
                             "ADSI, odbc32).\n"
                           : "");
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--yes") {
            line.yes = true;
        } else if (takeValue(args, index, "--machine", line.machine) ||
                   takeValue(args, index, "--answers", line.answers) ||
                   takeValue(args, index, "--options", line.options)) {
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
    if (line.help) return line;
    if (!line.answers && (line.options || line.yes)) {
        throw UsageError("--options and --yes need --answers FILE");
    }
    if (line.answers && !line.machine && !kLocalMachine) {
        throw UsageError("--answers needs --machine DIR");
    }
    return line;
}

InstallOptions parseInstallOptions(const std::string& list) {
    InstallOptions options;
    if (list.empty()) return options;
    std::size_t start = 0;
    while (true) {
        const auto comma = list.find(',', start);
        const std::string word =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (word == "tasks") {
            options.CreateTasks = true;
        } else if (word == "database") {
            options.InitializeDatabase = true;
        } else if (word == "sites") {
            options.SetUpSites = true;
        } else {
            throw UsageError("unknown install option \"" + word +
                             "\" in --options (use tasks, database, sites)");
        }
        if (comma == std::string::npos) return options;
        start = comma + 1;
    }
}

int runUnattended(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    std::vector<Answer> answers;
    InstallOptions options;
    try {
        line = parseCommandLine(args);
        if (line.help) {
            out << usageText() << std::flush;
            return exit_status::kCompleted;
        }
        if (!line.unattended()) {
            err << kProgram << ": this build has no settings window; run it unattended with "
                << "--machine DIR --answers FILE (see --help)\n";
            return exit_status::kUsage;
        }
        std::error_code error;
        if (line.machine && !std::filesystem::is_directory(*line.machine, error)) {
            throw UsageError("machine image folder " + *line.machine + " does not exist");
        }
        options = parseInstallOptions(line.options.value_or(""));
        answers = parseAnswers(readAnswersFile(*line.answers), *line.answers);
    } catch (const UsageError& usage) {
        err << kProgram << ": " << usage.what() << '\n' << "Try '" << kProgram << " --help'.\n";
        return exit_status::kUsage;
    }

    try {
        OdbcDatabase odbc;
        std::unique_ptr<Platform> machine;
        try {
            machine = line.machine ? std::make_unique<MachineImage>(*line.machine, &odbc)
                                   : openLocalMachine(odbc);
        } catch (const PlatformError& error) {
            err << kProgram << ": cannot open the machine image " << *line.machine << ": "
                << error.description() << '\n';
            return exit_status::kEndedAtLoad;
        }

        ConsoleMessages messages(err, line.yes);
        SettingsRecord settings;
        SettingsWindow window(*machine, settings, messages);
        if (window.Load() == LoadResult::Ended) return exit_status::kEndedAtLoad;

        try {
            for (const auto& answer : answers) applyAnswer(window.controls(), answer);
        } catch (const UsageError& usage) {
            err << kProgram << ": " << usage.what() << '\n';
            return exit_status::kUsage;
        }

        window.controls().press("btnInstall");

        ProgressLog log;
        log.setListener([&out](const std::string& entry, const std::string&) {
            out << entry << '\n' << std::flush;
        });
        const RunOutcome outcome = PerformRun(settings, options, *machine, log);
        if (!outcome.metabaseSaveError.empty()) {
            err << kProgram << ": the metabase could not be saved: " << outcome.metabaseSaveError
                << '\n';
            return exit_status::kCompletedWithRunError;
        }
        if (outcome.ending == RunEnding::StoppedByCheck) return exit_status::kStoppedByCheck;
        return outcome.runError ? exit_status::kCompletedWithRunError : exit_status::kCompleted;
    } catch (const std::exception& unexpected) {
        err << kProgram << ": internal error: " << unexpected.what() << '\n';
        return exit_status::kInternalError;
    }
}

}  // namespace tessaron::app
