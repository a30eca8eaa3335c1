#include "app/preview/PreviewVerdict.h"

#include <set>

#include "platform/Text.h"

namespace tessaron::app::preview {
namespace {

bool startsWithWord(const std::string& text, const std::string& word) {
    return text.size() >= word.size() &&
           equalsIgnoreCase(std::string_view(text).substr(0, word.size()), word);
}

bool noteSays(const PreviewStatement& statement, const std::string& words) {
    return statement.note.find(words) != std::string::npos;
}

}  // namespace

bool isConfigDateLine(const std::string& line) {
    return line.rfind("' Creation Date:", 0) == 0;
}

bool isMultiValuedProperty(const std::string& name) {
    static const std::set<std::string> lists = {"ServerBindings",
                                                "SecureBindings",
                                                "ScriptMaps",
                                                "HttpCustomHeaders",
                                                "HttpErrors",
                                                "MimeMap",
                                                "ApplicationDependencies",
                                                "WebSvcExtRestrictionList",
                                                "IPSecurity",
                                                "CustomErrorDescriptions"};
    return lists.count(name) > 0;
}

std::string statementOutcome(const PreviewStatement& statement) {
    if (noteSays(statement, "exists")) return "exists";
    if (noteSays(statement, "duplicate")) return "duplicate";
    if (!statement.note.empty()) return "fails";
    if (startsWithWord(statement.text, "CREATE")) return "creates";
    if (startsWithWord(statement.text, "INSERT")) return "inserts";
    if (startsWithWord(statement.text, "ALTER")) return "alters";
    return "executes";
}

bool statementChanges(const PreviewStatement& statement) {
    const std::string outcome = statementOutcome(statement);
    return outcome != "exists" && outcome != "duplicate" && outcome != "fails";
}

PreviewVerdict previewVerdict(const PreviewReport& report) {
    PreviewVerdict verdict;
    if (report.configChanged) {
        for (const auto& line : report.configChanges) {
            if (!isConfigDateLine(line.text)) ++verdict.configLines;
        }
        // A file that is new counts even when it would hold nothing else.
        if (report.configCreated && verdict.configLines == 0) verdict.configLines = 1;
    }
    verdict.metabaseKeys = static_cast<int>(report.metabaseChanges.size());
    for (const auto& statement : report.database.statements) {
        if (statementChanges(statement)) ++verdict.sqlStatements;
    }
    verdict.commands = static_cast<int>(report.commands.size());
    verdict.foldersCreated = static_cast<int>(report.foldersCreated.size());
    verdict.filesCreated = static_cast<int>(report.filesCreated.size());
    verdict.filesChanged = static_cast<int>(report.filesChanged.size());
    return verdict;
}

}  // namespace tessaron::app::preview
