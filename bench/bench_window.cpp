// The window's start and its responsiveness during a run.
//
//   bench_window [SOURCE_DIR [REPETITIONS]]
//
// (1) Start to the settings window shown and idle (loaded, painted once, the
//     event queue empty) on the Windows Server 2003 sample and on a copy with
//     10,000 web sites, against a minimal Qt Widgets program that shows one
//     window; each figure is a fresh process, timed from before its spawn to
//     the moment it reports idle, the three kinds taken in turns.
// (2) A whole run (sites set up) through the window on the 10,000-site
//     image: the longest pause between two firings of a 5 ms timer of the
//     window's thread, i.e. the longest time the window left its events
//     unprocessed.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/window/SettingsWindow.h"
#include "gui/ProgressView.h"
#include "gui/SettingsView.h"
#include "main/ProgramBackend.h"
#include "support/FreshProcess.h"
#include "support/LoadBenchImage.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace tessaron;

namespace {

double epochMilliseconds() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Reports idle once the widget has been painted and the queue has run dry.
class IdleAfterPaint : public QObject {
public:
    explicit IdleAfterPaint(QWidget& widget) { widget.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, [] {
                std::printf("%.3f\n", epochMilliseconds());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool painted_ = false;
};

class SilentMessages : public app::window::MessageService {
public:
    app::window::MessageAnswer show(const app::window::Message& message) override {
        std::fprintf(stderr, "%s: %s\n", message.title.c_str(), message.text.c_str());
        return app::window::MessageAnswer::No;
    }
};

int minimal(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(569, 261);
    IdleAfterPaint idle(window);
    window.show();
    return QApplication::exec();
}

int settingsWindow(int argc, char** argv, const std::string& image, bool run) {
    QElapsedTimer phases;
    phases.start();
    QApplication application(argc, argv);
    const qint64 appDone = phases.elapsed();
    const app::wiring::Backend backend = startup::programBackend();
    auto machine = backend.openImage(image);
    const qint64 openDone = phases.elapsed();
    SilentMessages messages;
    SettingsRecord settings;
    app::window::SettingsWindow window(*machine, settings, messages);
    gui::SettingsView view(window);
    view.setEndProgram([](int) {});
    view.flow().setMachineOpener(app::wiring::machineOpener(backend, &image));
    const qint64 viewDone = phases.elapsed();
    if (window.Load() != app::window::LoadResult::Shown) return 1;
    if (std::getenv("BENCH_PHASES")) {
        std::fprintf(stderr, "application %lld, open %lld, view %lld, load %lld ms\n",
                     static_cast<long long>(appDone), static_cast<long long>(openDone - appDone),
                     static_cast<long long>(viewDone - openDone),
                     static_cast<long long>(phases.elapsed() - viewDone));
    }
    if (!run) {
        IdleAfterPaint idle(view);
        view.show();
        return QApplication::exec();
    }
    view.show();
    QCoreApplication::processEvents();
    window.controls().press("btnInstall");
    auto* dialog = view.flow().dialog();
    dialog->controls().setChecked("chkSetupIIS", app::window::kChecked);
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    timer.start();
    dialog->controls().press("OKButton");
    gui::ProgressView* progress = view.flow().progress();
    while (progress->state() != gui::ProgressView::State::Finished) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    std::printf("%lld %lld %zu\n", static_cast<long long>(longest),
                static_cast<long long>(clock.elapsed()), progress->outcome().entries.size());
    return 0;
}

// Milliseconds from before the spawn to the child's reported idle moment.
double startToIdle(const std::vector<std::string>& arguments) {
    int output[2];
    if (pipe(output) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::vector<char*> argv{const_cast<char*>(self.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const double start = epochMilliseconds();
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        std::abort();
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string text;
    char buffer[256];
    for (ssize_t count; (count = read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(count));
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) {
        std::fprintf(stderr, "the measuring run failed: %s\n", text.c_str());
        std::exit(1);
    }
    return std::strtod(text.c_str(), nullptr) - start;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], "--minimal") == 0) return minimal(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--window") == 0)
        return settingsWindow(argc, argv, argv[2], false);
    if (argc > 2 && std::strcmp(argv[1], "--run") == 0)
        return settingsWindow(argc, argv, argv[2], true);

    const fs::path sourceDir = argc > 1 ? fs::path(argv[1]) : fs::current_path();
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 15;
    const fs::path sample = sourceDir / "examples" / "machines" / "windows2003";
    const fs::path many = bench::makeManySiteImage(sourceDir, 10000);
    std::vector<double> bare, window, large;
    for (int i = 0; i < repetitions; ++i) {
        bare.push_back(startToIdle({"--minimal"}));
        window.push_back(startToIdle({"--window", sample.string()}));
        large.push_back(startToIdle({"--window", many.string()}));
    }
    const auto b = bench::figuresOf(bare), w = bench::figuresOf(window),
               l = bench::figuresOf(large);
    std::printf("start to idle, median (best) of %d runs:\n", repetitions);
    std::printf("  minimal Qt window        %7.1f ms (%7.1f)\n", b.median, b.best);
    std::printf("  settings window, sample  %7.1f ms (%7.1f)  ratio %.2f\n", w.median, w.best,
                w.median / b.median);
    std::printf("  settings window, 10,000  %7.1f ms (%7.1f)  ratio %.2f\n", l.median, l.best,
                l.median / b.median);
    std::fflush(stdout);

    // The run writes to the image: a fresh copy of its own.
    const fs::path runImage = bench::makeManySiteImage(sourceDir, 10000);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string command = "'" + self + "' --run '" + runImage.string() + "'";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        long long longest = 0, total = 0;
        std::size_t entries = 0;
        if (std::fscanf(pipe, "%lld %lld %zu", &longest, &total, &entries) == 3) {
            std::printf(
                "whole run (sites) on 10,000 sites: %lld ms, %zu log entries, longest "
                "pause between processed events %lld ms\n",
                total, entries, longest);
        }
        pclose(pipe);
    }
    fs::remove_all(many);
    fs::remove_all(runImage);
    return 0;
}
