// A preview against the run it predicts: the unattended front end with the
// sample answers and the tasks and sites options, once as a run and once
// with --preview, each on a fresh copy of the Windows Server 2003 sample
// (the copy is made before the clock starts). The two are measured in turn
// within each repetition; figures are milliseconds of elapsed time, the
// median (and best) of the repetitions, and the ratio is of the medians.
//
//   bench_preview [SOURCE_DIR [REPETITIONS]]   (defaults: the current folder; 21)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/unattended/UnattendedFrontEnd.h"
#include "main/ProgramBackend.h"
#include "support/FreshProcess.h"

namespace fs = std::filesystem;
using namespace tessaron;

namespace {

// A fresh copy of the sample in the temporary folder, removed when it goes.
class SampleCopy {
public:
    SampleCopy(const fs::path& sourceDir, int number)
        : root_(fs::temp_directory_path() / ("tessaron-bench-preview-" + std::to_string(number))) {
        fs::remove_all(root_);
        fs::copy(sourceDir / "examples" / "machines" / "windows2003", root_,
                 fs::copy_options::recursive);
    }
    ~SampleCopy() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    SampleCopy(const SampleCopy&) = delete;
    SampleCopy& operator=(const SampleCopy&) = delete;
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

// Milliseconds the front end takes on a fresh copy; ends the benchmark when
// it does not complete.
double timeFrontEnd(const fs::path& sourceDir, bool preview) {
    const SampleCopy copy(sourceDir, preview ? 1 : 0);
    std::vector<std::string> args = {
        "--machine", copy.root().string(),
        "--answers", (sourceDir / "examples" / "answers" / "windows2003.answers").string(),
        "--options", "tasks,sites"};
    if (preview) args.emplace_back("--preview");
    std::ostringstream out, err;
    const auto backend = startup::programBackend();
    const auto start = std::chrono::steady_clock::now();
    const int status = app::unattended::runUnattended(args, backend, out, err);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    if (status != 0) {
        std::fprintf(stderr, "the %s ended with status %d:\n%s%s", preview ? "preview" : "run",
                     status, out.str().c_str(), err.str().c_str());
        std::exit(1);
    }
    return elapsed.count();
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path sourceDir = argc > 1 ? argv[1] : ".";
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 21;
    std::vector<double> runs, previews;
    timeFrontEnd(sourceDir, false);  // warms the caches
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        runs.push_back(timeFrontEnd(sourceDir, false));
        previews.push_back(timeFrontEnd(sourceDir, true));
    }
    const auto run = bench::figuresOf(runs);
    const auto preview = bench::figuresOf(previews);
    std::printf("run      %8.2f ms median (best %.2f)\n", run.median, run.best);
    std::printf("preview  %8.2f ms median (best %.2f)\n", preview.median, preview.best);
    std::printf("preview / run = %.2f\n", preview.median / run.median);
    return 0;
}
