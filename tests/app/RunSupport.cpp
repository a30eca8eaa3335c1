#include "RunSupport.h"

#include <fstream>
#include <map>
#include <sstream>

#include "app/AnswersFile.h"
#include "app/CommandLine.h"
#include "main/ProgramBackend.h"
#include "run/Sha256.h"

namespace fs = std::filesystem;

namespace tessaron::app::testing {

std::string imageHash(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).generic_string();
        const bool writable =
            (entry.symlink_status().permissions() & fs::perms::owner_write) != fs::perms::none;
        std::string line = writable ? "w " : "r ";
        if (entry.is_regular_file()) {
            line += sha256Hex(tessaron::testing::readBytes(entry.path()));
        } else {
            line += "folder";
        }
        entries[relative] = line;
    }
    std::string all;
    for (const auto& [path, line] : entries) all += path + "\t" + line + "\n";
    return sha256Hex(all);
}

AnsweredWindow::AnsweredWindow(const fs::path& root, const std::string& answers, Database* database,
                               bool yes, bool pressInstall)
    : image(root, database) {
    messages.answer = yes ? MessageAnswer::Yes : MessageAnswer::No;
    window = std::make_unique<SettingsWindow>(image, settings, messages);
    if (window->Load() != LoadResult::Shown) throw std::runtime_error("the load step ended");
    for (const auto& answer : parseAnswers(answers, "answers.txt")) {
        applyAnswer(window->controls(), answer);
    }
    if (pressInstall) window->controls().press("btnInstall");
}

std::string sampleAnswers(const std::string& databaseAddress, const std::string& databaseName,
                          const std::string& user, const std::string& password) {
    std::string text = tessaron::testing::readBytes(tessaron::testing::sourceDir() /
                                                    "examples/answers/windows2003.answers");
    if (!databaseAddress.empty()) {
        text += "txtMainDatabaseIP = " + databaseAddress + "\n";
        text += "txtMainDatabaseName = " + databaseName + "\n";
        text += "txtMainDatabaseUsername = " + user + "\n";
        text += "txtMainDatabasePassword = \"" + password + "\"\n";
    }
    return text;
}

Outcome runFrontEnd(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runUnattended(args, startup::programBackend(), out, err);
    return {status, out.str(), err.str()};
}

std::string writeBeside(const tessaron::testing::TempMachine& machine, const std::string& name,
                        const std::string& text) {
    const auto path = machine.root() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

}  // namespace tessaron::app::testing
