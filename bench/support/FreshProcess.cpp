#include "support/FreshProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pugixml.hpp>

extern char** environ;

namespace tessaron::bench {

double millisecondsInFreshProcess(const std::vector<std::string>& arguments) {
    int output[2];
    if (::pipe(output) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);

    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::vector<char*> argv{const_cast<char*>(self.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        std::abort();
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);

    std::string text;
    char buffer[256];
    for (ssize_t count; (count = ::read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, count);
    ::close(output[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) {
        std::fprintf(stderr, "the measuring run failed: %s\n", text.c_str());
        std::exit(1);
    }
    return std::strtod(text.c_str(), nullptr);
}

namespace {

double processorMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

StartPoint startNow() {
    return {std::chrono::steady_clock::now(), processorMilliseconds()};
}

void reportMilliseconds(const StartPoint& start) {
    const char* cpu = std::getenv("TESSARON_BENCH_CPU");
    if (cpu && std::string(cpu) == "1") {
        std::printf("%.6f\n", processorMilliseconds() - start.processorMilliseconds);
        return;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start.wall;
    std::printf("%.6f\n", std::chrono::duration<double, std::milli>(elapsed).count());
}

void bareParse(const std::filesystem::path& file) {
    pugi::xml_document document;
    const unsigned flags = pugi::parse_default & ~pugi::parse_wconv_attribute;
    const auto parsed = document.load_file(file.c_str(), flags, pugi::encoding_utf8);
    if (!parsed) {
        std::fprintf(stderr, "%s: %s at %td\n", file.c_str(), parsed.description(), parsed.offset);
        std::exit(1);
    }
}

Figures figuresOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

}  // namespace tessaron::bench
