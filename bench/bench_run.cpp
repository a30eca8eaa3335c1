// The whole program, an unattended run with the sites option, on a copy of
// the Windows Server 2003 sample with many web sites added to its
// MetaBase.xml, beside the least a run that saves the metabase must do with
// that file: copy it (the former version kept), parse it with pugixml, save
// the document to a new file and rename that over the old one (the program
// bench_run_anchor beside this one, with Debian's pugixml library). Both are
// measured as whole processes, start-up included, in turn within each
// repetition, so that load from other programs falls on both alike; each
// repetition starts from a fresh copy of the image. Figures are the medians
// of elapsed milliseconds, of processor milliseconds (user and system, which
// other programs on the machine disturb far less) and of peak resident
// memory (MB), as the kernel accounts for the finished child; ratios are of
// the medians.
//
//   bench_run [SOURCE_DIR [N ...]]   (defaults: the current folder; 10000 50000)
//
// The program is the build tree's tessaron-config (beside the bench folder),
// or TESSARON_CONFIG when set.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FreshProcess.h"
#include "support/LoadBenchImage.h"

namespace fs = std::filesystem;
using namespace tessaron;

extern char** environ;

namespace {

struct ProcessFigures {
    double milliseconds;
    double processorMilliseconds;  // user and system
    double peakMegabytes;
};

double millisecondsOf(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

// Runs the command with its output thrown away; ends the benchmark unless it
// exits with status 0.
ProcessFigures runProcess(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", argv[0],
                     WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(elapsed).count(),
            millisecondsOf(usage.ru_utime) + millisecondsOf(usage.ru_stime),
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

ProcessFigures mediansOf(const std::vector<ProcessFigures>& runs) {
    const auto median = [&](double ProcessFigures::*figure) {
        std::vector<double> values;
        for (const auto& run : runs) values.push_back(run.*figure);
        return bench::figuresOf(values).median;
    };
    return {median(&ProcessFigures::milliseconds), median(&ProcessFigures::processorMilliseconds),
            median(&ProcessFigures::peakMegabytes)};
}

fs::path programPath() {
    if (const char* program = std::getenv("TESSARON_CONFIG")) return program;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tessaron-config";
}

void measure(const fs::path& sourceDir, int sites, int repetitions) {
    const fs::path pristine = bench::makeManySiteImage(sourceDir, sites);
    const fs::path image = fs::path(pristine).concat("-run");
    const fs::path anchorFile = fs::path(pristine).concat("-MetaBase.xml");
    const std::string anchor =
        (fs::read_symlink("/proc/self/exe").parent_path() / "bench_run_anchor").string();
    const std::vector<std::string> run{
        programPath().string(),
        "--machine",
        image.string(),
        "--answers",
        (sourceDir / "examples/answers/windows2003.answers").string(),
        "--options",
        "sites"};
    std::vector<ProcessFigures> anchorRuns, programRuns;
    for (int i = 0; i < repetitions; ++i) {
        fs::remove_all(image);
        fs::copy(pristine, image, fs::copy_options::recursive);
        fs::copy_file(bench::metabaseFileOf(pristine), anchorFile,
                      fs::copy_options::overwrite_existing);
        anchorRuns.push_back(runProcess({anchor, anchorFile.string()}));
        programRuns.push_back(runProcess(run));
    }
    const auto a = mediansOf(anchorRuns);
    const auto b = mediansOf(programRuns);
    std::printf("%6d %5.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %6.2f %6.2f %6.2f  (%d runs)\n",
                sites, static_cast<double>(fs::file_size(bench::metabaseFileOf(pristine))) / 1e6,
                a.milliseconds, a.processorMilliseconds, a.peakMegabytes, b.milliseconds,
                b.processorMilliseconds, b.peakMegabytes, b.milliseconds / a.milliseconds,
                b.processorMilliseconds / a.processorMilliseconds,
                b.peakMegabytes / a.peakMegabytes, repetitions);
    std::fflush(stdout);
    fs::remove_all(image);
    fs::remove_all(pristine);
    fs::remove(anchorFile);
    fs::remove(fs::path(anchorFile).concat(".copy"));
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path sourceDir = argc > 1 ? fs::path(argv[1]) : fs::current_path();
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000, 50000};
    std::printf("%6s %5s %26s %26s %20s\n", "", "", "anchor", "run (sites)", "run / anchor");
    std::printf("%6s %5s %8s %8s %8s %8s %8s %8s %6s %6s %6s\n", "sites", "MB", "ms", "cpu ms",
                "peak MB", "ms", "cpu ms", "peak MB", "ms", "cpu", "peak");
    for (const int sites : counts) measure(sourceDir, sites, sites >= 50000 ? 7 : 15);
    return 0;
}
