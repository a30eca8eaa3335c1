// The program as a user starts it: --version, a missing --machine in both
// modes, a missing window program, the unattended run against a database server that never answers
// (bounded; SIGTERM ends it at a safe point with status 6), and no Qt noise
// on standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileDialog>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GuiSupport.h"
#include "gui/WindowProgram.h"
#include "support/SamplePaths.h"
#include "support/SilentServer.h"

extern char** environ;

namespace tessaron::gui::testing {
namespace {
using tessaron::testing::kMetabase;

using Clock = std::chrono::steady_clock;
using tessaron::testing::SilentServer;
using tessaron::testing::TestMachine;

const std::string kConfig = "C:\\Tessaron\\panel\\config.inc";

// The program in a process of its own, its output collected as it comes.
class Program {
public:
    explicit Program(const std::vector<std::string>& args,
                     const std::vector<std::string>& unset = {},
                     const std::string& program = TESSARON_PROGRAM) {
        int out[2], err[2];
        EXPECT_EQ(pipe(out), 0);
        EXPECT_EQ(pipe(err), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        std::vector<std::string> all = {program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            bool keep = true;
            for (const auto& name : unset) keep &= entry.rfind(name + "=", 0) != 0;
            if (keep) environment.push_back(entry);
        }
        std::vector<char*> envp;
        for (auto& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()),
                  0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Program() {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(err_);
    }

    // Reads until standard output holds the text or the time is out.
    bool waitForOutput(const std::string& text, std::chrono::seconds limit) {
        const auto end = Clock::now() + limit;
        while (out.find(text) == std::string::npos) {
            if (Clock::now() > end || !pump(100)) return out.find(text) != std::string::npos;
        }
        return true;
    }
    // Reads to the end and returns the exit status (-1 when killed or late).
    int finish(std::chrono::seconds limit) {
        const auto end = Clock::now() + limit;
        while (pump(100) || Clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                while (pump(0)) {
                }
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return status_;
            }
            if (Clock::now() > end) break;
        }
        return -1;
    }
    void signal(int number) { kill(pid_, number); }

    std::string out, err;

private:
    // False when both pipes have ended.
    bool pump(int timeoutMs) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) <= 0) return true;
        bool open = false;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) {
                open = true;
                continue;
            }
            char buffer[4096];
            const ssize_t count = read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                (i == 0 ? out : err).append(buffer, static_cast<std::size_t>(count));
                open = true;
            }
        }
        return open;
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    int status_ = -1;
};

TEST(Program, VersionAndMissingMachine) {
    Program version({"--version"});
    EXPECT_EQ(version.finish(std::chrono::seconds(20)), 0);
    EXPECT_EQ(version.out, "tessaron-config 1.0.0\n");

    Program unattended({"--answers", "answers.txt"});
    EXPECT_EQ(unattended.finish(std::chrono::seconds(20)), 64);
    EXPECT_EQ(unattended.err,
              "tessaron-config: --answers needs --machine DIR: this system has no local Windows "
              "machine to configure\nTry 'tessaron-config --help'.\n");

    Program help({"--help"});
    EXPECT_EQ(help.finish(std::chrono::seconds(20)), 0);
    for (const char* status :
         {"  0 ", "  1 ", "  2 ", "  3 ", "  4 ", "  5 ", "  6 ", "  64 ", "  70 "}) {
        EXPECT_NE(help.out.find(std::string("\n") + status), std::string::npos) << status;
    }
}

// The window is a program of its own beside tessaron-config; without it the
// window's start says which file is missing instead of failing silently.
TEST(Program, TheWindowProgramMissing) {
    const QTemporaryDir folder;
    const std::string alone = folder.filePath(QStringLiteral("tessaron-config")).toStdString();
    std::filesystem::copy_file(TESSARON_PROGRAM, alone);
    const TestMachine machine = sample2003();
    Program program({"--machine", machine.root().string()}, {}, alone);
    EXPECT_EQ(program.finish(std::chrono::seconds(20)), 70);
    EXPECT_EQ(program.err, "tessaron-config: cannot start the settings window " +
                               folder.path().toStdString() +
                               "/tessaron-config-window: No such file or directory\n");
    EXPECT_EQ(program.out, "");
}

// Without --machine the window asks for the image folder; cancel ends.
TEST(Program, TheWindowAsksForTheMachineFolder) {
    ensureApplication();
    const TestMachine machine = sample2003();
    QString title;
    auto chosen = askMachineFolder([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        dialog.setDirectory(q(machine.root().string()));
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(title, QStringLiteral("Choose the machine image folder to configure"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(std::filesystem::path(*chosen), machine.root());
    EXPECT_FALSE(askMachineFolder([](QFileDialog&) { return int(QDialog::Rejected); }));
}

TEST(Program, NoQtWarningsWithoutARuntimeFolder) {
    const TestMachine machine = sample2003();
    QTemporaryDir shots;
    Program program(
        {"--machine", machine.root().string(), "--screenshots", shots.path().toStdString()},
        {"XDG_RUNTIME_DIR"});
    EXPECT_EQ(program.finish(std::chrono::seconds(120)), 0) << program.err;
    EXPECT_EQ(program.err.find("XDG_RUNTIME_DIR"), std::string::npos) << program.err;
    EXPECT_EQ(program.err.find("does not support"), std::string::npos) << program.err;
}

class SilentUnattended : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("ODBCSYSINI")) {
            GTEST_SKIP() << "ODBCSYSINI is not set: the MariaDB driver is registered by "
                            "scripts/test-mariadb.sh (scripts/test.sh)";
        }
        std::ofstream(answers) << "cmbMainSQLServerType = MySQL\n"
                               << "txtMainDatabaseIP = " << server.address() << "\n"
                               << "txtMainDatabaseName = tessaron\n";
        metabaseBefore = machine.readFile(kMetabase);
    }
    std::vector<std::string> args(const std::string& options) const {
        return {"--machine", machine.root().string(), "--answers", answers, "--options", options};
    }
    SilentServer server;
    TestMachine machine = sample2003();
    std::string answers = (machine.root() / "answers.txt").string();
    std::string metabaseBefore;
};

TEST_F(SilentUnattended, TheDatabaseStageEndsWithinTheBound) {
    const auto start = Clock::now();
    Program program(args("database"));
    EXPECT_EQ(program.finish(std::chrono::seconds(60)), 1);  // RunError: no connection
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
    EXPECT_NE(program.out.find("ERROR: Could not establish a connection to main MySQL database: "
                               "[ma-"),
              std::string::npos)
        << program.out;
    EXPECT_NE(program.out.find("Lost connection to server"), std::string::npos);
    EXPECT_NE(program.out.find("\nTessaron configuration completed.\n"), std::string::npos);
}

TEST_F(SilentUnattended, SigtermEndsTheRunAtASafePointWithStatus6) {
    Program program(args("database,sites"));
    ASSERT_TRUE(
        program.waitForOutput("Beginning database initialization...\n", std::chrono::seconds(30)));
    const auto start = Clock::now();
    program.signal(SIGTERM);
    EXPECT_EQ(program.finish(std::chrono::seconds(60)), 6) << program.out << program.err;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
    // The database step ends as it would; the run ends before the sites.
    const std::string tail = program.out.substr(program.out.rfind("ERROR: "));
    EXPECT_EQ(tail.substr(tail.find('\n') + 1), "Tessaron configuration cancelled.\n");
    EXPECT_EQ(program.out.find("Tessaron configuration completed."), std::string::npos);
    EXPECT_EQ(machine.readFile(kMetabase), metabaseBefore);
    const std::string config = machine.readFile(kConfig);
    EXPECT_EQ(std::count(config.begin(), config.end(), '\n'), 69);
}

}  // namespace
}  // namespace tessaron::gui::testing
