// The metabase store against a bare parse of the same MetaBase.xml, for
// metabases of N web sites (each with its ROOT) and N/10 FTP sites:
//   (a) pugixml parse of the file (the store's parse flags),
//   (b) open IIS://LocalHost/W3SVC and enumerate every site reading Class
//       and ServerComment, on a fresh store,
//   (c) the whole web-server stage on a machine image, creating the pool and
//       all four sites with new numbers; the stage saves the file before it
//       returns, so the figure includes writing it durably (written to a
//       temporary file, synced to disk, renamed over the old one).
// The three are measured in turn within each repetition, so that load from
// other programs falls on all of them alike; figures are the best of the
// repetitions in milliseconds, ratios are of those.
//
//   bench_metabase [N ...]      (default: 10 1000 10000 50000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include <pugixml.hpp>

#include "platform/image/MachineImage.h"
#include "run/RunContext.h"
#include "support/MetabaseGenerator.h"
#include "webserver/WebServerStage.h"

namespace fs = std::filesystem;
using namespace tessaron;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

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
    auto folder = fs::temp_directory_path() / ("tessaron-bench-metabase-" + std::to_string(device()));
    fs::create_directories(folder);
    return folder;
}

void measure(int sites) {
    const auto root = freshFolder();
    const std::string metabase = bench::generateMetabase(sites, sites / 10);
    const auto file = bench::writeMetabaseMachine(root, metabase);
    const int repetitions = sites >= 50000 ? 7 : sites >= 10000 ? 15 : 31;
    const unsigned flags = pugi::parse_default & ~pugi::parse_wconv_attribute;

    double parse = 1e300, enumerate = 1e300, stage = 1e300;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        // Each repetition starts from the generated file: (c) changes it.
        bench::writeMetabaseMachine(root, metabase);

        // (a)
        auto start = Clock::now();
        {
            pugi::xml_document document;
            const auto parsed = document.load_file(file.c_str(), flags, pugi::encoding_utf8);
            if (!parsed) {
                std::fprintf(stderr, "%s: %s at %td\n", file.c_str(), parsed.description(), parsed.offset);
                std::abort();
            }
        }
        parse = std::min(parse, millisecondsSince(start));

        // (b)
        start = Clock::now();
        long enumerated = 0;
        {
            auto store = createImageMetabase(file);
            auto web = store->Open("IIS://LocalHost/W3SVC");
            for (const auto& child : web->Children()) {
                if (child->Class() != "IIsWebServer") continue;
                if (!metabaseValueText(child->Get("ServerComment")).empty()) ++enumerated;
            }
        }
        enumerate = std::min(enumerate, millisecondsSince(start));
        if (enumerated != sites) {
            std::fprintf(stderr, "%ld sites enumerated\n", enumerated);
            std::abort();
        }

        // (c)
        {
            MachineImage image(root);
            SettingsRecord settings = allNewSites();
            InstallOptions options;
            options.SetUpSites = true;
            ProgressLog log;
            RunContext run(settings, options, image, log);
            HeldSiteNumbers held;
            start = Clock::now();
            const bool completed = RunWebServerStage(run, held);
            stage = std::min(stage, millisecondsSince(start));
            if (!completed || log.entries().size() != 9) {
                std::fprintf(stderr, "the stage did not create the four sites\n");
                std::abort();
            }
        }
    }

    std::printf("%7d %7d %9.1f %10.2f %12.2f %6.2f %12.2f %6.2f\n", sites, sites / 10,
                static_cast<double>(metabase.size()) / 1e6, parse, enumerate, enumerate / parse,
                stage, stage / parse);
    std::fflush(stdout);
    fs::remove_all(root);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10, 1000, 10000, 50000};
    std::printf("%7s %7s %9s %10s %12s %6s %12s %6s\n", "web", "ftp", "file MB", "(a) parse",
                "(b) enumerate", "b/a", "(c) stage", "c/a");
    for (const int sites : counts) measure(sites);
    return 0;
}
