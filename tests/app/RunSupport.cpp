#include "RunSupport.h"

#include <fstream>
#include <sstream>

#include "app/answers/AnswersFile.h"
#include "app/unattended/UnattendedFrontEnd.h"
#include "main/ProgramBackend.h"

namespace fs = std::filesystem;

namespace tessaron::app::testing {

using window::LoadResult;
using window::MessageAnswer;

using window::SettingsWindow;

using answers::applyAnswer;

using answers::parseAnswers;

AnsweredWindow::AnsweredWindow(const tessaron::testing::TestMachine& machine,
                               const std::string& answers, Database* database, bool yes,
                               bool pressInstall)
    : image(machine.root(), database) {
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
    const int status = unattended::runUnattended(args, startup::programBackend(), out, err);
    return {status, out.str(), err.str()};
}

std::string writeBeside(const tessaron::testing::TestMachine& machine, const std::string& name,
                        const std::string& text) {
    const auto path = machine.root() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

}  // namespace tessaron::app::testing
