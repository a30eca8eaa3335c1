// The metabase store against a bare parse of the same MetaBase.xml, for
// metabases of N web sites (each with its ROOT) and N/10 FTP sites:
//   (a) pugixml's load of the file as the store gets it (see bareParse in
//       support/FreshProcess.h: open, read and parse in place with the
//       store's flags, and release),
//   (b) open IIS://LocalHost/W3SVC on a new store and enumerate every site
//       reading Class and ServerComment, and release,
//   (c) the whole web-server stage on a machine image, creating the pool and
//       all four sites with new numbers; the stage saves the file before it
//       returns, so the figure includes writing it (to a temporary file
//       renamed over the old one).
// Each figure is taken in a newly started process, as the program reads its
// metabase once at its start; (a), (b) and (c) are measured in turn within
// each repetition, so that load from other programs falls on all of them
// alike. Figures are milliseconds (elapsed; processor time with
// TESSARON_BENCH_CPU=1), the best and the median of the repetitions; ratios
// are of the medians.
//
//   bench_metabase [N ...]      (default: 10 1000 10000 50000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/image/MachineImage.h"
#include "runcontext/RunContext.h"
#include "support/FreshProcess.h"
#include "support/MetabaseGenerator.h"
#include "webserver/WebServerStage.h"

namespace fs = std::filesystem;
using namespace tessaron;

namespace {

SettingsRecord allNewSites() {
    SettingsRecord s;
    s.InstallDir = "C:\\Tessaron";
    s.ServerIP = s.InternalIP = "10.0.0.5";
    s.CustomerPort = "2100";
    s.ResellerPort = "2101";
    s.ServerRoot = "C:\\Accounts";
    s.ControlPanelSiteSelection = s.MainFTPSVCSelection = s.SharedSecureSVCSelection =
        s.PreviewSVCSelection = "-- Create New Site --";
    s.FTPServerEnabled = "True";
    s.FTPServerType = "Microsoft FTP";
    s.EnableSharedSecure = "True";
    s.SharedSecureServer = "secure.example.com";
    s.EnableWebsitePreview = "True";
    return s;
}

fs::path freshFolder() {
    std::random_device device;
    auto folder =
        fs::temp_directory_path() / ("tessaron-bench-metabase-" + std::to_string(device()));
    fs::create_directories(folder);
    return folder;
}

// (b) on the file; fails unless every one of the sites is listed.
void enumerate(const fs::path& file, long sites) {
    const auto start = bench::startNow();
    long enumerated = 0;
    {
        auto store = createImageMetabase(file);
        auto web = store->Open("IIS://LocalHost/W3SVC");
        for (const auto& child : web->Children()) {
            if (child->Class() != "IIsWebServer") continue;
            if (!metabaseValueText(child->Get("ServerComment")).empty()) ++enumerated;
        }
    }
    bench::reportMilliseconds(start);
    if (enumerated != sites) {
        std::fprintf(stderr, "%ld sites enumerated\n", enumerated);
        std::exit(1);
    }
}

// (c) on the machine image; fails unless the stage created the four sites.
void stage(const fs::path& root) {
    MachineImage image(root);
    SettingsRecord settings = allNewSites();
    InstallOptions options;
    options.SetUpSites = true;
    ProgressLog log;
    RunContext run(settings, options, image, log);
    const auto start = bench::startNow();
    const bool completed = !runWebServerStage(run).endedOnError;
    bench::reportMilliseconds(start);
    if (!completed || log.entries().size() != 9) {
        std::fprintf(stderr, "the stage did not create the four sites\n");
        std::exit(1);
    }
}

// One figure, in this (new) process: --measure a FILE | b FILE SITES | c ROOT.
int measureOnce(int argc, char** argv) {
    const std::string what = argc > 2 ? argv[2] : "";
    if (what == "a" && argc == 4) {
        const auto start = bench::startNow();
        bench::bareParse(argv[3]);
        bench::reportMilliseconds(start);
    } else if (what == "b" && argc == 5) {
        enumerate(argv[3], std::atol(argv[4]));
    } else if (what == "c" && argc == 4) {
        stage(argv[3]);
    } else {
        return 64;
    }
    return 0;
}

void measure(int sites) {
    const auto root = freshFolder();
    const std::string metabase = bench::generateMetabase(sites, sites / 10);
    const auto file = bench::writeMetabaseMachine(root, metabase).string();
    const int repetitions = sites >= 50000 ? 7 : sites >= 10000 ? 15 : 31;

    std::vector<double> parse, enumerate, stage;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        // Each repetition starts from the generated file: (c) changes it.
        bench::writeMetabaseMachine(root, metabase);
        parse.push_back(bench::millisecondsInFreshProcess({"--measure", "a", file}));
        enumerate.push_back(
            bench::millisecondsInFreshProcess({"--measure", "b", file, std::to_string(sites)}));
        stage.push_back(bench::millisecondsInFreshProcess({"--measure", "c", root.string()}));
    }
    const auto a = bench::figuresOf(parse);
    const auto b = bench::figuresOf(enumerate);
    const auto c = bench::figuresOf(stage);
    std::printf("%7d %6d %7.1f %8.2f %8.2f %8.2f %8.2f %6.2f %8.2f %8.2f %6.2f\n", sites,
                sites / 10, static_cast<double>(metabase.size()) / 1e6, a.best, a.median, b.best,
                b.median, b.median / a.median, c.best, c.median, c.median / a.median);
    std::fflush(stdout);
    fs::remove_all(root);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--measure") == 0) return measureOnce(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10, 1000, 10000, 50000};
    std::printf("%7s %6s %7s %17s %17s %6s %17s %6s\n", "", "", "", "(a) parse", "(b) enumerate",
                "", "(c) stage", "");
    std::printf("%7s %6s %7s %8s %8s %8s %8s %6s %8s %8s %6s\n", "web", "ftp", "MB", "best",
                "median", "best", "median", "b/a", "best", "median", "c/a");
    for (const int sites : counts) measure(sites);
    return 0;
}
