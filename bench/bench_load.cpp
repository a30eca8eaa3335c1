// Program start to the end of the settings window's load step on a machine
// image with many web sites, against the bare parse of its MetaBase.xml.
//
//   bench_load [SOURCE_DIR]     (default: the current folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include <pugixml.hpp>

#include "app/SettingsWindow.h"
#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"
#include "support/LoadBenchImage.h"

namespace fs = std::filesystem;
using namespace tessaron;

namespace {

class SilentMessages : public app::MessageService {
public:
    app::MessageAnswer show(const app::Message& message) override {
        ++shown;
        return message.buttons == app::MessageButtons::YesNo ? app::MessageAnswer::No
                                                             : app::MessageAnswer::Ok;
    }
    int shown = 0;
};

double medianMilliseconds(int repetitions, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// What the program does from its start to the end of the load step.
std::size_t loadWindow(const fs::path& image) {
    OdbcDatabase odbc;
    MachineImage machine(image, &odbc);
    SettingsRecord settings;
    SilentMessages messages;
    app::SettingsWindow window(machine, settings, messages);
    if (window.Load() != app::LoadResult::Shown || messages.shown != 0) {
        std::fprintf(stderr, "the load step did not complete\n");
        std::exit(1);
    }
    return window.controls().entries("cmbControlPanelSite").size();
}

void measure(const fs::path& sourceDir, int sites, int repetitions) {
    const fs::path image = bench::makeManySiteImage(sourceDir, sites);
    const fs::path metabase = bench::metabaseFileOf(image);
    std::size_t listed = 0;
    const double parse = medianMilliseconds(repetitions, [&] {
        pugi::xml_document document;
        if (!document.load_file(metabase.c_str())) std::exit(1);
    });
    const double load = medianMilliseconds(repetitions, [&] { listed = loadWindow(image); });
    std::printf("%6d sites (%5.1f MB MetaBase.xml, %zu list entries): bare parse %8.2f ms, "
                "start to end of load %8.2f ms, ratio %.2f (median of %d)\n",
                sites, static_cast<double>(fs::file_size(metabase)) / 1e6, listed, parse, load,
                load / parse, repetitions);
    fs::remove_all(image);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path sourceDir = argc > 1 ? fs::path(argv[1]) : fs::current_path();
    measure(sourceDir, 10000, 15);
    measure(sourceDir, 50000, 3);
    return 0;
}
