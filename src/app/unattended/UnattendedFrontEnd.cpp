// The unattended front end: the settings window driven from an answers file,
// with message boxes on standard error and the run's log on standard output.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/answers/AnswersFile.h"
#include "app/answers/AnswersRecorder.h"
#include "app/answers/QuotedInput.h"
#include "app/answers/ReleasePaths.h"
#include "app/answers/SiteAnswers.h"
#include "app/preview/Preview.h"
#include "app/preview/SecretMask.h"
#include "app/tools/UnattendedActions.h"
#include "app/unattended/CancelSignals.h"
#include "app/unattended/ConsoleMessages.h"
#include "app/window/InputValidation.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/Backend.h"
#include "app/wiring/BackgroundRun.h"
#include "app/wiring/CommandLine.h"
#include "app/wiring/ProgressRun.h"
#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "settings/SiteChoices.h"

namespace tessaron::app {

using window::ControlKind;
using window::InputProblem;
using window::LoadResult;
using window::SettingsWindow;

using window::checkSettingsInput;

using preview::alreadyConfiguredJson;
using preview::SecretMask;

using preview::alreadyConfiguredText;

using answers::Answer;
using answers::applyAnswer;
using answers::expandReleasePath;
using answers::isSiteList;
using answers::kOptionsAnswer;
using answers::kPanelSiteAnswer;
using answers::panelSiteName;
using answers::parseAnswers;
using answers::quotedInput;
using answers::RecordingOptions;
using answers::releaseRelativePath;
using answers::resolveSiteAnswer;
using answers::shownInput;
using answers::UsageError;

namespace {

const char* const kProgram = "tessaron-config";

// What the program works on without --machine: the Windows build opens the
// machine it runs on (program start gives it that backend), which is what an
// administrator on the server wants, so its help begins with that.
#ifdef _WIN32
constexpr const char* kThisServerHelp =
    "On this server (from a command prompt started as an administrator):\n"
    "  tessaron-config\n"
    "      opens the settings window\n"
    "  tessaron-config --answers FILE [--options LIST] [--yes]\n"
    "      configures this server without the window; Ctrl+C cancels the run at the\n"
    "      next safe point between its steps\n"
    "  tessaron-config --answers FILE [--yes] --save-answers OUT\n"
    "      records the answered window in the answers file OUT, without a run\n"
    "Without --machine the program configures this Windows machine itself\n"
    "(registry, files, WMI, the panel component, IIS through ADSI, odbc32).\n"
    "\n"
    "On a machine image (a folder holding a server's state, for trials and tests):\n";
#else
constexpr const char* kThisServerHelp = "";
#endif

std::string readAnswersFile(const std::string& path) {
    const std::filesystem::path file = hostPathFromUtf8(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw UsageError(
            "cannot read answers file " + path + ": " +
            (std::filesystem::exists(file, error) ? "not a regular file" : "no such file"));
    }
    std::ifstream in(file, std::ios::binary);
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

// The run on its worker thread, every entry printed as it is logged; SIGINT
// and SIGTERM cancel it at the next safe point.
int runPrinting(const SettingsRecord& settings, const InstallOptions& options,
                const MachineOpener& openMachine, std::ostream& out, std::ostream& err) {
    // config.inc and the task command lines keep the passwords; what is
    // printed does not.
    const SecretMask mask(settings);
    RunEvents events;
    events.logged = [&out, &mask](const std::string& entry) {
        out << mask.apply(entry) << '\n' << std::flush;
    };
    BackgroundRun run(settings, options, openMachine, std::move(events));
    unattended::CancelSignals signals;
    run.start();
    while (!run.waitFor(std::chrono::milliseconds(50))) {
        if (signals.received() && !run.cancelling()) run.cancel();
    }
    const RunOutcome& outcome = run.outcome();
    if (!outcome.unexpectedError.empty()) {
        const bool atOpen = outcome.ending == RunEnding::StoppedByCheck;
        err << kProgram << ": " << (atOpen ? "" : "internal error: ") << outcome.unexpectedError
            << '\n';
        return atOpen ? exit_status::kEndedAtLoad : exit_status::kInternalError;
    }
    if (!outcome.notUndoable.empty()) {
        err << kProgram << ": the run cannot be undone: " << outcome.notUndoable << '\n';
    }
    if (!outcome.metabaseSaveError.empty()) {
        err << kProgram << ": the metabase could not be saved: " << outcome.metabaseSaveError
            << '\n';
        return exit_status::kCompletedWithRunError;
    }
    return describeRunOutcome(outcome).exitStatus;
}

// "answers.txt:4: the value of txtCustomerPort is not ...": the line that set
// the control last, or the file alone when the value was not set by it.
std::string refusalText(const InputProblem& problem, const std::string& fileName,
                        const std::vector<Answer>& answers) {
    const Answer* setBy = nullptr;
    for (const auto& answer : answers) {
        if (answer.control == problem.control) setBy = &answer;
    }
    if (setBy) {
        return setBy->fileName + ":" + std::to_string(setBy->line) + ": the value of " +
               problem.control + " " + problem.problem;
    }
    return fileName + ": the value of " + problem.control + " (not set in this file) " +
           problem.problem;
}

// The install options of the run: --options when given, else the answers
// file's last "@options" line, else none. The "@options" lines are taken out
// of the answers, as they set no control.
std::string takeRecordedOptions(std::vector<Answer>& answers,
                                const std::optional<std::string>& commandLine) {
    std::optional<Answer> recorded;
    std::erase_if(answers, [&](const Answer& answer) {
        if (answer.control != kOptionsAnswer) return false;
        recorded = answer;
        return true;
    });
    if (commandLine) return *commandLine;
    if (!recorded) return "";
    try {
        parseInstallOptions(recorded->value);
    } catch (const UsageError& error) {
        throw UsageError(recorded->fileName + ":" + std::to_string(recorded->line) + ": " +
                         error.what());
    }
    return recorded->value;
}

// What --save-answers records besides the values: the options in effect, and
// the forms that make the file fit another machine (the panel's sites as
// "@panel-site", release folders as "%SystemRoot%" and "%ProgramFiles%").
RecordingOptions recordingOptions(SettingsWindow& window, const CommandLine& line,
                                  const InstallOptions& options) {
    RecordingOptions recording;
    recording.clearPasswords = line.saveAnswersClear;
    recording.all = line.saveAnswersAll;
    recording.installOptions = installOptionsText(options, ",");
    recording.specialForm = [&window](const std::string& control,
                                      const std::string& value) -> std::optional<std::string> {
        if (isSiteList(control)) {
            // A new site and the panel's own both converge as @panel-site:
            // applied again, neither creates another site.
            if (value == kCreateNewSite) return std::string(kPanelSiteAnswer);
            const auto panelSite = panelSiteName(window.platform(), window.settings(), control);
            if (panelSite && *panelSite == value) return std::string(kPanelSiteAnswer);
            return std::nullopt;
        }
        if (window.controls()[control].kind() != ControlKind::TextBox) return std::nullopt;
        return releaseRelativePath(window.platform().System(), value);
    };
    return recording;
}

}  // namespace

std::string versionText() {
    return std::string(kProgram) + " " + kVersion + "\n";
}

std::string usageText() {
    return std::string("Usage:\n") + kThisServerHelp +
           "  tessaron-config [--machine DIR]\n"
           "      opens the settings window on the machine image DIR (without --machine,\n"
           "      the window asks for the folder)\n"
           "  tessaron-config --machine DIR --answers FILE [--options LIST] [--yes]\n"
           "      configures the machine image DIR without the window; SIGINT or SIGTERM\n"
           "      cancels the run at the next safe point between its steps\n"
           "  tessaron-config --machine DIR --answers FILE [--options LIST] [--yes]\n"
           "                  --preview [--format text|json]\n"
           "      shows what that run would change, without changing DIR or the database\n"
           "  tessaron-config --machine DIR --answers FILE [--yes] --save-answers OUT\n"
           "                  [--save-answers-all] [--save-answers-clear]\n"
           "      records the answered window in the answers file OUT, without a run\n"
           "  tessaron-config --machine DIR --restore\n"
           "      puts back config.inc and the metabase as they were before the latest run\n"
           "  tessaron-config --version | --help\n"
           "\n"
           "Options:\n"
           "  --machine DIR    the machine image folder to configure\n"
           "  --answers FILE   answers file: one CONTROL = VALUE a line (a control of the\n"
           "                   settings window); blank lines and lines starting with # are\n"
           "                   skipped; a value in double quotes is taken exactly;\n"
           "                   an unquoted @env:NAME is the environment variable NAME,\n"
           "                   @file:PATH the text of the file PATH (relative to FILE's\n"
           "                   folder, without its final line break), a value beginning\n"
           "                   %SystemRoot% or %ProgramFiles% begins with that folder of\n"
           "                   this machine, and a site list's @panel-site is the site\n"
           "                   the panel uses for that role, or a new one; the line\n"
           "                   \"@options = LIST\" stands for --options LIST\n"
           "  --options LIST   comma-separated stages to run besides the configuration\n"
           "                   file: tasks, database, sites (none when absent)\n"
           "  --yes            answer Yes when the machine is already configured, which\n"
           "                   reads its existing config.inc first (otherwise: No, and the\n"
           "                   program ends)\n"
           "  --preview        runs the installation as a dry run that writes nothing (the\n"
           "                   database read-only) and prints the changes: config.inc line\n"
           "                   by line, metabase keys and properties (sites taken over,\n"
           "                   site numbers, start conflicts), SQL statements, commands,\n"
           "                   folders and files; exits with the status the run would have\n"
           "  --format FORMAT  text (default) or json: the preview as one JSON document\n"
           "                   (docs/preview.schema.json: schemaVersion, changed, counts)\n"
           "  --detailed-exitcode  a preview or run that completes exits 10 when the run\n"
           "                   changes (or would change) something and 0 when nothing\n"
           "                   needed changing; the run is previewed first to tell\n"
           "  --save-answers OUT  writes every control whose value differs from what was\n"
           "                   found on DIR to OUT, in replay order; passwords are written\n"
           "                   as @env:TESSARON_..._PASSWORD references\n"
           "  --save-answers-clear  writes the passwords in clear text instead\n"
           "  --save-answers-all  records every value, not only the differences, with the\n"
           "                   options as \"@options = LIST\", the panel's sites as\n"
           "                   @panel-site and paths under the Windows and Program Files\n"
           "                   folders as %SystemRoot%\\... and %ProgramFiles%\\...\n"
           "  --restore        undoes the latest run's changes of config.inc and the\n"
           "                   metabase from the copies it kept (config.inc.<date-time>.bak\n"
           "                   beside config.inc, MetaBase_<version>.xml in\n"
           "                   %SystemRoot%\\system32\\inetsrv\\History); refuses when a file\n"
           "                   was changed since; database rows and scheduled tasks stay\n"
           "  --version        prints the program's version\n"
           "  --help           prints this text\n"
           "\n"
           "Messages go to standard error as \"TITLE: TEXT\"; the run's log goes to\n"
           "standard output as it is written.\n"
           "\n"
           "Exit status:\n"
           "  0   the run completed\n"
           "  1   the run completed with RunError set (config.inc could not be written or\n"
           "      the database could not be reached); --restore: it failed\n"
           "  2   a prerequisite check stopped the run\n"
           "  3   the program ended while loading the machine\n"
           "  4   the run completed, but its log holds ERROR lines\n"
           "  5   another configuration run holds the machine\n"
           "  6   the run was cancelled (SIGINT or SIGTERM) at a safe point between steps\n"
           "  7   the machine's lock file could not be opened or locked\n"
           "  8   --restore: nothing to restore\n"
           "  9   --restore: refused, a file was changed after the run\n"
           "  10  with --detailed-exitcode: completed, and changes were (or would be) made\n"
           "  64  usage error, or a refused value (named with its line of the answers\n"
           "      file)\n"
           "  70  internal error\n"
           "A preview exits with the status the run would have.\n"
           "Passwords are never printed: the log and the preview show them as ********.\n";
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--yes") {
            line.yes = true;
        } else if (arg == "--preview") {
            line.preview = true;
        } else if (arg == "--restore") {
            line.restore = true;
        } else if (arg == "--save-answers-clear") {
            line.saveAnswersClear = true;
        } else if (arg == "--save-answers-all") {
            line.saveAnswersAll = true;
        } else if (arg == "--detailed-exitcode") {
            line.detailedExitcode = true;
        } else if (takeValue(args, index, "--machine", line.machine) ||
                   takeValue(args, index, "--answers", line.answers) ||
                   takeValue(args, index, "--options", line.options) ||
                   takeValue(args, index, "--format", line.format) ||
                   takeValue(args, index, "--save-answers", line.saveAnswers)) {
        } else {
            throw UsageError("unknown option " + shownInput(arg));
        }
    }
    if (line.help || line.version) return line;
    if (line.restore) {
        if (line.answers || line.options || line.yes || line.preview || line.format ||
            line.saveAnswers || line.saveAnswersClear || line.saveAnswersAll ||
            line.detailedExitcode) {
            throw UsageError("--restore takes no other option than --machine DIR");
        }
        if (!line.machine) throw UsageError("--restore needs --machine DIR");
        return line;
    }
    if (!line.answers && (line.options || line.yes)) {
        throw UsageError("--options and --yes need --answers FILE");
    }
    if (!line.answers && (line.preview || line.saveAnswers)) {
        throw UsageError("--preview and --save-answers need --answers FILE");
    }
    if (line.format && !line.preview) throw UsageError("--format needs --preview");
    if (line.format && *line.format != "text" && *line.format != "json") {
        throw UsageError("unknown format " + quotedInput(*line.format) +
                         " in --format (use text, json)");
    }
    for (const auto& [given, name] : {std::pair{line.saveAnswersClear, "--save-answers-clear"},
                                      std::pair{line.saveAnswersAll, "--save-answers-all"}}) {
        if (given && !line.saveAnswers) {
            throw UsageError(std::string(name) + " needs --save-answers FILE");
        }
    }
    if (line.restore && !line.machine) {
        throw UsageError("--restore works on a machine image: it needs --machine DIR");
    }
    return line;
}

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
            throw UsageError("unknown install option " + quotedInput(word) +
                             " in --options (use tasks, database, sites)");
        }
        if (comma == std::string::npos) return options;
        start = comma + 1;
    }
}

int runUnattended(const std::vector<std::string>& args, const Backend& backend, std::ostream& out,
                  std::ostream& err) {
    CommandLine line;
    std::vector<Answer> answers;
    InstallOptions options;
    try {
        line = parseCommandLine(args);
        if (line.help) {
            out << usageText() << std::flush;
            return exit_status::kCompleted;
        }
        if (line.version) {
            out << versionText() << std::flush;
            return exit_status::kCompleted;
        }
        if (!line.unattended()) {
            err << kProgram << ": this build has no settings window; run it unattended with "
                << "--machine DIR --answers FILE (see --help)\n";
            return exit_status::kUsage;
        }
        if (!line.machine && !backend.openLocal) {
            throw UsageError(
                "--answers needs --machine DIR: this system has no local Windows "
                "machine to configure");
        }
        std::error_code error;
        if (line.machine &&
            !std::filesystem::is_directory(hostPathFromUtf8(*line.machine), error)) {
            throw UsageError("machine image folder " + *line.machine + " does not exist");
        }
        if (!line.restore) {
            answers = parseAnswers(readAnswersFile(*line.answers), *line.answers);
            options = parseInstallOptions(takeRecordedOptions(answers, line.options));
        }
    } catch (const UsageError& usage) {
        err << kProgram << ": " << usage.what() << '\n' << "Try '" << kProgram << " --help'.\n";
        return exit_status::kUsage;
    }

    try {
        const MachineOpener openMachine =
            machineOpener(backend, line.machine ? &*line.machine : nullptr);
        std::unique_ptr<Platform> machine;
        try {
            machine = openMachine();
        } catch (const PlatformError& error) {
            err << kProgram << ": cannot open the machine " << line.machine.value_or("") << ": "
                << error.description() << '\n';
            return exit_status::kEndedAtLoad;
        }
        if (line.restore) return tools::restoreLatestRunOn(*machine, out, err);

        // A preview and recorded answers read the machine as a run would
        // find it: not while another run changes it.
        std::unique_ptr<MachineLock> held;
        if (line.preview || line.saveAnswers) {
            if (const auto refused = tools::holdMachine(*machine, held, err)) return *refused;
        }

        unattended::ConsoleMessages messages(err, line.yes);
        SettingsRecord settings;
        SettingsWindow window(*machine, settings, messages);
        if (window.Load() == LoadResult::Ended) {
            // A preview says why nothing would run instead of ending in silence.
            if (line.preview && messages.declined()) {
                const bool json = line.format.value_or("text") == "json";
                out << (json ? alreadyConfiguredJson(*line.machine, exit_status::kEndedAtLoad)
                             : alreadyConfiguredText(*line.machine))
                    << std::flush;
            }
            return exit_status::kEndedAtLoad;
        }

        try {
            for (auto answer : answers) {
                if (!answer.quoted)
                    answer.value = expandReleasePath(machine->System(), answer.value);
                applyAnswer(window.controls(),
                            resolveSiteAnswer(*machine, settings, window.controls(), answer));
            }
        } catch (const UsageError& usage) {
            err << kProgram << ": " << usage.what() << '\n';
            return exit_status::kUsage;
        }

        if (line.saveAnswers) {
            try {
                tools::saveAnswersFile(window, *line.saveAnswers,
                                       recordingOptions(window, line, options), held.get());
            } catch (const UsageError& usage) {
                err << kProgram << ": " << usage.what() << '\n';
                return exit_status::kUsage;
            }
            if (!line.preview) return exit_status::kCompleted;
        }

        // The install button's copy of the window. The front end checks the
        // values itself instead of the button, so that a refusal names the
        // answers file's line instead of showing a box.
        window.fillSettingsRecord();
        if (auto problem = checkSettingsInput(settings)) {
            err << kProgram << ": " << refusalText(*problem, *line.answers, answers) << '\n';
            return exit_status::kUsage;
        }
        // The run goes on from the load step's image rather than reading it
        // again (a large metabase costs as much to parse as the run takes):
        // nothing else of this program touched it since, and a metabase
        // another program changed meanwhile is read afresh at the run's
        // first use, under its lock. The local machine is opened again on
        // the run's own thread.
        const MachineOpener runMachine = line.machine ? alreadyOpened(*machine) : openMachine;
        tools::PreviewPrinting printing{line.format.value_or("text") == "json",
                                        line.detailedExitcode, !line.preview};
        const std::string machineName = line.machine.value_or(std::string(kThisComputer));
        if (line.preview) {
            return tools::printPreview(settings, options, *machine, machineName, printing, out, err,
                                       held.get());
        }
        if (!line.detailedExitcode) return runPrinting(settings, options, runMachine, out, err);
        // The run's verdict is the preview's: made before the run, on the
        // machine as the run finds it.
        const int verdict =
            tools::printPreview(settings, options, *machine, machineName, printing, out, err);
        if (verdict == exit_status::kMachineBusy || verdict == exit_status::kLockFailed) {
            return verdict;  // the machine could not be held: nothing was done
        }
        const int status = runPrinting(settings, options, runMachine, out, err);
        return status == exit_status::kCompleted && verdict == exit_status::kChanges
                   ? exit_status::kChanges
                   : status;
    } catch (const std::exception& unexpected) {
        err << kProgram << ": internal error: " << unexpected.what() << '\n';
        return exit_status::kInternalError;
    }
}

}  // namespace tessaron::app
