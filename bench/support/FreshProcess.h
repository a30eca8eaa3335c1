#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tessaron::bench {

// The metabase benchmarks measure each figure in a newly started process:
// the program reads its metabase once, at its start, on a fresh heap, and
// a figure taken after other work in the same process depends on what that
// work left allocated (the bare parse alone varies by a factor of two).

// Runs this benchmark program again with the arguments; returns the time in
// milliseconds it prints. Ends the benchmark when the run fails.
double millisecondsInFreshProcess(const std::vector<std::string>& arguments);

// A point a figure is measured from: the time, and the processor time this
// process had used by then.
struct StartPoint {
    std::chrono::steady_clock::time_point wall;
    double processorMilliseconds;
};
StartPoint startNow();

// Prints the time since start for the parent to read: elapsed time, or with
// TESSARON_BENCH_CPU=1 in the environment the processor time (user and
// system) this process used since, which other programs running on the
// machine disturb far less.
void reportMilliseconds(const StartPoint& start);

// (a) of both benchmarks: pugixml's load of the file as the store gets it,
// pugi::xml_document::load_file with the store's flags (the defaults without
// turning line breaks in attribute values into blanks) as UTF-8, which opens,
// reads and parses the file in place, and the document's release. Ends the
// benchmark when the file does not parse.
void bareParse(const std::filesystem::path& file);

// The best and the median of the figures.
struct Figures {
    double best;
    double median;
};
Figures figuresOf(std::vector<double> times);

}  // namespace tessaron::bench
