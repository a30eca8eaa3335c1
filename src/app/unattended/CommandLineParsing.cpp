// The program's command line: its words, its help and its version.
#include "app/unattended/CommandLineParsing.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "app/answers/AnswersFile.h"
#include "app/answers/QuotedInput.h"

namespace tessaron::app::unattended {

using answers::quotedInput;
using answers::shownInput;
using answers::UsageError;
using wiring::CommandLine;

namespace {

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

wiring::CommandLine parseCommandLine(const std::vector<std::string>& args) {
    wiring::CommandLine line;
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

}  // namespace tessaron::app::unattended
