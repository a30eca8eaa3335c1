#pragma once

// The installation run as a list of steps: each has the name the progress
// window shows, the options it belongs to, when it does its work and a run
// that returns what it produced. The driver (RunDriver.h) begins them in
// order and hands each the results of the steps before it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "database/DatabaseStage.h"
#include "runcontext/RunContext.h"
#include "webserver/WebServerStage.h"

namespace tessaron {

// The stages of the run that live in their own folders. The driver decides
// when each runs; tests of the driver's order and gates put recorders here.
struct RunStages {
    std::function<void(RunContext&)> database = runDatabaseStage;
    std::function<WebServerResult(RunContext&)> webServer = runWebServerStage;
    std::function<void(RunContext&, const std::optional<std::vector<std::string>>&,
                       const HeldSiteNumbers&)>
        appendSites = AppendSiteSettings;
};

// What one step returns; each step fills what it produces.
struct StepResult {
    // A check failed: the run ends after the step, with no completion line.
    bool stopsRun = false;
    // The configuration file step: the body lines it put in place.
    std::optional<std::vector<std::string>> writtenBody = std::nullopt;
    // The web-server step: what the stage returned.
    std::optional<WebServerResult> sites = std::nullopt;
};

// What the steps have returned so far.
struct RunResults {
    std::optional<std::vector<std::string>> writtenBody;
    // Empty numbers until the web-server step has run.
    WebServerResult sites;

    void add(StepResult result);
};

struct RunStep {
    std::string name;
    // Whether the step is part of a run with these options: it is then
    // counted and begun (a safe point for a cancel), even when it finds no
    // work to do.
    std::function<bool(const InstallOptions&)> appliesTo;
    // Whether the step does its work, given the run so far (RunError, the
    // results of earlier steps).
    std::function<bool(const RunContext&, const RunResults&)> hasWork;
    std::function<StepResult(RunContext&, const RunResults&)> run;
};

// The run's steps in their order: checks and working directories, config.inc,
// scheduled tasks, database, web server, site lines.
std::vector<RunStep> installationSteps(const RunStages& stages);

}  // namespace tessaron
