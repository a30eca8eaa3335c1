// Program start to the end of the settings window's load step on a machine
// image with many web sites, against the bare parse of its MetaBase.xml
// ((a) of bench_metabase: see bareParse in support/FreshProcess.h, timed
// alone). Each figure is taken in a newly started process, the load step's
// from the program's start; the two are measured in turn within each
// repetition. Figures are milliseconds (elapsed; processor time with
// TESSARON_BENCH_CPU=1), the median (and best) of the repetitions; the ratio
// is of the medians.
//
//   bench_load [SOURCE_DIR [N ...]]   (defaults: the current folder; 10000 50000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/window/SettingsWindow.h"
#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"
#include "support/FreshProcess.h"
#include "support/LoadBenchImage.h"

namespace fs = std::filesystem;
using namespace tessaron;

namespace {

const auto kProgramStart = bench::startNow();

class SilentMessages : public app::window::MessageService {
public:
    app::window::MessageAnswer show(const app::window::Message& message) override {
        ++shown;
        return message.buttons == app::window::MessageButtons::YesNo
                   ? app::window::MessageAnswer::No
                   : app::window::MessageAnswer::Ok;
    }
    int shown = 0;
};

// What the program does from its start to the end of the load step; fails
// unless the window would be shown with every site listed.
void loadWindow(const fs::path& image, std::size_t sites) {
    OdbcDatabase odbc;
    MachineImage machine(image, &odbc);
    SettingsRecord settings;
    SilentMessages messages;
    app::window::SettingsWindow window(machine, settings, messages);
    if (window.Load() != app::window::LoadResult::Shown || messages.shown != 0) {
        std::fprintf(stderr, "the load step did not complete\n");
        std::exit(1);
    }
    bench::reportMilliseconds(kProgramStart);
    // The sample's own sites, "-- Create New Site --" and the added ones.
    if (window.controls().entries("cmbControlPanelSite").size() != sites + 3) {
        std::fprintf(stderr, "not every site is listed\n");
        std::exit(1);
    }
}

// One figure, in this (new) process: --measure parse FILE | load IMAGE SITES.
int measureOnce(int argc, char** argv) {
    const std::string what = argc > 2 ? argv[2] : "";
    if (what == "parse" && argc == 4) {
        const auto start = bench::startNow();
        bench::bareParse(argv[3]);
        bench::reportMilliseconds(start);
    } else if (what == "load" && argc == 5) {
        loadWindow(argv[3], std::strtoul(argv[4], nullptr, 10));
    } else {
        return 64;
    }
    return 0;
}

void measure(const fs::path& sourceDir, int sites, int repetitions) {
    const fs::path image = bench::makeManySiteImage(sourceDir, sites);
    const fs::path metabase = bench::metabaseFileOf(image);
    std::vector<double> parse, load;
    for (int i = 0; i < repetitions; ++i) {
        parse.push_back(
            bench::millisecondsInFreshProcess({"--measure", "parse", metabase.string()}));
        load.push_back(bench::millisecondsInFreshProcess(
            {"--measure", "load", image.string(), std::to_string(sites)}));
    }
    const auto a = bench::figuresOf(parse);
    const auto b = bench::figuresOf(load);
    std::printf(
        "%6d sites (%5.1f MB MetaBase.xml): bare parse %7.2f ms (best %7.2f), start to end "
        "of load %7.2f ms (best %7.2f), ratio %.2f (%d runs)\n",
        sites, static_cast<double>(fs::file_size(metabase)) / 1e6, a.median, a.best, b.median,
        b.best, b.median / a.median, repetitions);
    std::fflush(stdout);
    fs::remove_all(image);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--measure") == 0) return measureOnce(argc, argv);
    const fs::path sourceDir = argc > 1 ? fs::path(argv[1]) : fs::current_path();
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000, 50000};
    for (const int sites : counts)
        measure(sourceDir, sites, sites >= 50000 ? 7 : sites >= 10000 ? 15 : 31);
    return 0;
}
