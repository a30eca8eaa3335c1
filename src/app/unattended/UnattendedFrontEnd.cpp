// The unattended front end: the settings window driven from an answers file,
// with message boxes on standard error and the run's log on standard output.
#include "app/unattended/UnattendedFrontEnd.h"

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
#include "app/unattended/CommandLineParsing.h"
#include "app/unattended/ConsoleMessages.h"
#include "app/window/InputValidation.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/Backend.h"
#include "app/wiring/BackgroundRun.h"
#include "app/wiring/CommandLine.h"
#include "app/wiring/ExitStatus.h"
#include "app/wiring/ProgressRun.h"
#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "settings/SiteChoices.h"

namespace tessaron::app::unattended {

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

// The run on its worker thread, every entry printed as it is logged; SIGINT
// and SIGTERM cancel it at the next safe point.
int runPrinting(const SettingsRecord& settings, const InstallOptions& options,
                const wiring::MachineOpener& openMachine, std::ostream& out, std::ostream& err) {
    // config.inc and the task command lines keep the passwords; what is
    // printed does not.
    const SecretMask mask(settings);
    wiring::RunEvents events;
    events.logged = [&out, &mask](const std::string& entry) {
        out << mask.apply(entry) << '\n' << std::flush;
    };
    wiring::BackgroundRun run(settings, options, openMachine, std::move(events));
    unattended::CancelSignals signals;
    run.start();
    while (!run.waitFor(std::chrono::milliseconds(50))) {
        if (signals.received() && !run.cancelling()) run.cancel();
    }
    const wiring::RunOutcome& outcome = run.outcome();
    if (!outcome.unexpectedError.empty()) {
        const bool atOpen = outcome.ending == RunEnding::StoppedByCheck;
        err << kProgram << ": " << (atOpen ? "" : "internal error: ") << outcome.unexpectedError
            << '\n';
        return atOpen ? wiring::exit_status::kEndedAtLoad : wiring::exit_status::kInternalError;
    }
    if (!outcome.notUndoable.empty()) {
        err << kProgram << ": the run cannot be undone: " << outcome.notUndoable << '\n';
    }
    if (!outcome.metabaseSaveError.empty()) {
        err << kProgram << ": the metabase could not be saved: " << outcome.metabaseSaveError
            << '\n';
        return wiring::exit_status::kCompletedWithRunError;
    }
    return wiring::describeRunOutcome(outcome).exitStatus;
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
RecordingOptions recordingOptions(SettingsWindow& window, const wiring::CommandLine& line,
                                  const InstallOptions& options) {
    RecordingOptions recording;
    recording.clearPasswords = line.saveAnswersClear;
    recording.all = line.saveAnswersAll;
    recording.installOptions = wiring::installOptionsText(options, ",");
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

int runUnattended(const std::vector<std::string>& args, const wiring::Backend& backend,
                  std::ostream& out, std::ostream& err) {
    wiring::CommandLine line;
    std::vector<Answer> answers;
    InstallOptions options;
    try {
        line = parseCommandLine(args);
        if (line.help) {
            out << usageText() << std::flush;
            return wiring::exit_status::kCompleted;
        }
        if (line.version) {
            out << versionText() << std::flush;
            return wiring::exit_status::kCompleted;
        }
        if (!line.unattended()) {
            err << kProgram << ": this build has no settings window; run it unattended with "
                << "--machine DIR --answers FILE (see --help)\n";
            return wiring::exit_status::kUsage;
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
        return wiring::exit_status::kUsage;
    }

    try {
        const wiring::MachineOpener openMachine =
            wiring::machineOpener(backend, line.machine ? &*line.machine : nullptr);
        std::unique_ptr<Platform> machine;
        try {
            machine = openMachine();
        } catch (const PlatformError& error) {
            err << kProgram << ": cannot open the machine " << line.machine.value_or("") << ": "
                << error.description() << '\n';
            return wiring::exit_status::kEndedAtLoad;
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
                out << (json ? alreadyConfiguredJson(*line.machine,
                                                     wiring::exit_status::kEndedAtLoad)
                             : alreadyConfiguredText(*line.machine))
                    << std::flush;
            }
            return wiring::exit_status::kEndedAtLoad;
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
            return wiring::exit_status::kUsage;
        }

        if (line.saveAnswers) {
            try {
                tools::saveAnswersFile(window, *line.saveAnswers,
                                       recordingOptions(window, line, options), held.get());
            } catch (const UsageError& usage) {
                err << kProgram << ": " << usage.what() << '\n';
                return wiring::exit_status::kUsage;
            }
            if (!line.preview) return wiring::exit_status::kCompleted;
        }

        // The install button's copy of the window. The front end checks the
        // values itself instead of the button, so that a refusal names the
        // answers file's line instead of showing a box.
        window.fillSettingsRecord();
        if (auto problem = checkSettingsInput(settings)) {
            err << kProgram << ": " << refusalText(*problem, *line.answers, answers) << '\n';
            return wiring::exit_status::kUsage;
        }
        // The run goes on from the load step's image rather than reading it
        // again (a large metabase costs as much to parse as the run takes):
        // nothing else of this program touched it since, and a metabase
        // another program changed meanwhile is read afresh at the run's
        // first use, under its lock. The local machine is opened again on
        // the run's own thread.
        const wiring::MachineOpener runMachine =
            line.machine ? wiring::alreadyOpened(*machine) : openMachine;
        tools::PreviewPrinting printing{line.format.value_or("text") == "json",
                                        line.detailedExitcode, !line.preview};
        const std::string machineName = line.machine.value_or(std::string(wiring::kThisComputer));
        if (line.preview) {
            return tools::printPreview(settings, options, *machine, machineName, printing, out, err,
                                       held.get());
        }
        if (!line.detailedExitcode) return runPrinting(settings, options, runMachine, out, err);
        // The run's verdict is the preview's: made before the run, on the
        // machine as the run finds it.
        const int verdict =
            tools::printPreview(settings, options, *machine, machineName, printing, out, err);
        if (verdict == wiring::exit_status::kMachineBusy ||
            verdict == wiring::exit_status::kLockFailed) {
            return verdict;  // the machine could not be held: nothing was done
        }
        const int status = runPrinting(settings, options, runMachine, out, err);
        return status == wiring::exit_status::kCompleted && verdict == wiring::exit_status::kChanges
                   ? wiring::exit_status::kChanges
                   : status;
    } catch (const std::exception& unexpected) {
        err << kProgram << ": internal error: " << unexpected.what() << '\n';
        return wiring::exit_status::kInternalError;
    }
}

}  // namespace tessaron::app::unattended
