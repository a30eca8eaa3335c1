// The preview report as text for people and as JSON for scripts; both carry
// the same facts in the same order.
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/preview/Preview.h"
#include "app/preview/PreviewVerdict.h"
#include "app/wiring/CommandLine.h"
#include "platform/WindowsPath.h"

namespace tessaron::app::preview {
namespace {

std::string optionList(const InstallOptions& options) {
    const std::string list = wiring::installOptionsText(options, ", ");
    return list.empty() ? "none (config.inc only)" : list;
}

// A value in quotes; a list as its values in quotes, separated by commas.
std::string shownValue(const std::optional<std::string>& value) {
    if (!value) return "(unset)";
    std::string shown;
    for (const auto& line : splitText(*value, "\n")) {
        shown += (shown.empty() ? "\"" : ", \"") + line + "\"";
    }
    return shown;
}

const char* kindWord(MetabaseKeyChange::Kind kind) {
    switch (kind) {
        case MetabaseKeyChange::Kind::Created:
            return "created";
        case MetabaseKeyChange::Kind::Changed:
            return "changed";
        default:
            return "removed";
    }
}

std::string padded(int number, int width) {
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

void listSection(std::ostringstream& out, const std::string& title,
                 const std::vector<std::string>& items) {
    out << "\n" << title << ":";
    if (items.empty()) {
        out << " none\n";
        return;
    }
    out << "\n";
    for (const auto& item : items) out << "  " << item << "\n";
}

void configSection(std::ostringstream& out, const PreviewReport& report) {
    out << "\nconfig.inc (" << report.configFile << "): ";
    if (!report.configChanged) {
        out << "unchanged\n";
        return;
    }
    out << (report.configCreated ? "new file" : "changed") << "\n";
    for (const auto& line : report.configChanges) {
        out << "  " << line.change << padded(line.lineNumber, 4) << ": " << line.text << "\n";
    }
}

void metabaseSection(std::ostringstream& out, const PreviewReport& report) {
    int created = 0, changed = 0, removed = 0;
    for (const auto& change : report.metabaseChanges) {
        if (change.kind == MetabaseKeyChange::Kind::Created) ++created;
        if (change.kind == MetabaseKeyChange::Kind::Changed) ++changed;
        if (change.kind == MetabaseKeyChange::Kind::Removed) ++removed;
    }
    out << "\nIIS metabase (" << report.metabaseFile << "): ";
    if (report.metabaseChanges.empty()) {
        out << "unchanged\n";
        return;
    }
    out << created << " keys created, " << changed << " changed, " << removed << " removed\n";
    out << "  Sites:\n";
    for (const auto& site : report.sites) {
        out << "    " << site.name << ": " << site.location
            << (site.created ? " (new site)" : " (existing site)") << "\n";
    }
    for (const auto& takeover : report.takeovers) {
        out << "  Taken over by name: " << takeover.location << " \"" << takeover.formerName
            << "\" loses:\n";
        for (const auto& lost : takeover.lost) {
            out << "    " << lost.name << " " << shownValue(lost.before) << " (becomes "
                << shownValue(lost.after) << ")\n";
        }
    }
    for (const auto& conflict : report.startConflicts) {
        out << "  Start conflict: " << conflict.location << " \"" << conflict.name
            << "\" cannot start: " << conflict.holderLocation << " \"" << conflict.holderName
            << "\" is started on the binding \"" << conflict.binding << "\"\n";
    }
    for (const auto& change : report.metabaseChanges) {
        out << "  Key " << kindWord(change.kind) << ": " << change.location << " ("
            << change.className << ")\n";
        for (const auto& property : change.properties) {
            out << "    " << property.name << ": ";
            if (change.kind == MetabaseKeyChange::Kind::Changed) {
                out << shownValue(property.before) << " -> ";
            }
            out << shownValue(change.kind == MetabaseKeyChange::Kind::Removed ? property.before
                                                                              : property.after)
                << "\n";
        }
    }
}

void databaseSection(std::ostringstream& out, const PreviewReport& report) {
    const auto& database = report.database;
    out << "\nDatabase: ";
    if (!database.attempted) {
        out << "not touched\n";
        return;
    }
    if (!database.connected) {
        out << "the connection fails: " << database.failure << "\n";
        return;
    }
    out << "connected read-only and disconnected; ";
    if (database.existingTables.empty()) {
        out << "none of the panel's tables exists\n";
    } else {
        std::string tables;
        for (const auto& table : database.existingTables)
            tables += (tables.empty() ? "" : ", ") + table;
        out << "existing tables: " << tables << "\n";
    }
    out << "  Statements in order (" << database.statements.size() << "):\n";
    int number = 0;
    for (const auto& statement : database.statements) {
        out << "  " << padded(++number, 3) << ". " << statement.text << "\n";
        if (!statement.note.empty()) out << "       (" << statement.note << ")\n";
    }
}

using Json = nlohmann::ordered_json;

// An array of one object an item, each filled in by fill(entry, item).
template <typename Items, typename Fill>
Json arrayOf(const Items& items, Fill fill) {
    Json array = Json::array();
    for (const auto& item : items) fill(array.emplace_back(), item);
    return array;
}

// A property's value: a list property as an array of its values (one a
// line in the metabase), any other as its text; null when unset.
Json propertyValue(const std::string& name, const std::optional<std::string>& value) {
    if (!value) return nullptr;
    if (!isMultiValuedProperty(name)) return *value;
    Json values = Json::array();
    if (!value->empty()) {
        for (const auto& line : splitText(*value, "\n")) values.push_back(line);
    }
    return values;
}

Json propertyArray(const std::vector<PropertyChange>& properties) {
    return arrayOf(properties, [](Json& entry, const PropertyChange& property) {
        entry["name"] = property.name;
        entry["before"] = propertyValue(property.name, property.before);
        entry["after"] = propertyValue(property.name, property.after);
    });
}

void verdictFields(Json& json, const PreviewVerdict& verdict, bool alreadyConfigured) {
    json["schemaVersion"] = kPreviewSchemaVersion;
    json["changed"] = verdict.changed();
    json["alreadyConfigured"] = alreadyConfigured;
    Json counts;
    counts["configLines"] = verdict.configLines;
    counts["metabaseKeys"] = verdict.metabaseKeys;
    counts["sqlStatements"] = verdict.sqlStatements;
    counts["commands"] = verdict.commands;
    counts["foldersCreated"] = verdict.foldersCreated;
    counts["filesCreated"] = verdict.filesCreated;
    counts["filesChanged"] = verdict.filesChanged;
    json["counts"] = std::move(counts);
}

Json resultObject(int exitStatus, const std::string& line) {
    Json result;
    result["exitStatus"] = exitStatus;
    result["line"] = line;
    return result;
}

// The document indented by two spaces, with a final line break. Texts stay
// UTF-8; a byte that is not UTF-8 becomes U+FFFD, so that the document stays
// valid. Control characters other than tab, line feed and carriage return are
// written \u00xx, backspace and form feed too (the library writes them \b and
// \f).
std::string documentText(const Json& document) {
    const std::string dumped = document.dump(2, ' ', false, Json::error_handler_t::replace);
    std::string text;
    text.reserve(dumped.size() + 1);
    for (std::size_t i = 0; i < dumped.size(); ++i) {
        // Every backslash in the dump begins an escape inside a string.
        if (dumped[i] != '\\' || i + 1 == dumped.size()) {
            text += dumped[i];
            continue;
        }
        const char escape = dumped[++i];
        if (escape == 'b') {
            text += "\\u0008";
        } else if (escape == 'f') {
            text += "\\u000c";
        } else {
            text += '\\';
            text += escape;
        }
    }
    return text + "\n";
}

Json configFileObject(const PreviewReport& report) {
    Json configFile;
    configFile["path"] = report.configFile;
    configFile["created"] = report.configCreated;
    configFile["changed"] = report.configChanged;
    configFile["changes"] = arrayOf(report.configChanges, [](Json& entry, const auto& line) {
        entry["change"] = std::string(1, line.change);
        entry["line"] = line.lineNumber;
        entry["text"] = line.text;
    });
    return configFile;
}

Json metabaseObject(const PreviewReport& report) {
    Json metabase;
    metabase["path"] = report.metabaseFile;
    metabase["sites"] = arrayOf(report.sites, [](Json& entry, const auto& site) {
        entry["name"] = site.name;
        entry["location"] = site.location;
        entry["created"] = site.created;
    });
    metabase["takenOver"] = arrayOf(report.takeovers, [](Json& entry, const auto& takeover) {
        entry["location"] = takeover.location;
        entry["formerName"] = takeover.formerName;
        entry["properties"] = propertyArray(takeover.lost);
    });
    metabase["startConflicts"] =
        arrayOf(report.startConflicts, [](Json& entry, const auto& conflict) {
            entry["location"] = conflict.location;
            entry["name"] = conflict.name;
            entry["holderLocation"] = conflict.holderLocation;
            entry["holderName"] = conflict.holderName;
            entry["binding"] = conflict.binding;
        });
    metabase["keys"] = arrayOf(report.metabaseChanges, [](Json& entry, const auto& change) {
        entry["change"] = kindWord(change.kind);
        entry["location"] = change.location;
        entry["class"] = change.className;
        entry["properties"] = propertyArray(change.properties);
    });
    return metabase;
}

Json databaseObject(const DatabasePreview& database) {
    Json object;
    object["attempted"] = database.attempted;
    object["connected"] = database.connected;
    object["failure"] =
        database.connected || !database.attempted ? Json(nullptr) : Json(database.failure);
    object["existingTables"] = database.existingTables;
    object["statements"] = arrayOf(database.statements, [](Json& entry, const auto& statement) {
        entry["text"] = statement.text;
        entry["outcome"] = statementOutcome(statement);
        entry["note"] = statement.note.empty() ? Json(nullptr) : Json(statement.note);
    });
    return object;
}

}  // namespace

std::string previewText(const PreviewReport& report) {
    std::ostringstream out;
    out << "Preview of the installation run on " << report.machine << "\n";
    out << "Options: " << optionList(report.options) << "\n";
    out << "Nothing on the machine or in the database was changed; passwords are shown as "
           "********.\n";
    out << "Verdict: " << (previewVerdict(report).changed() ? "changes needed" : "no change needed")
        << "\n";
    configSection(out, report);
    metabaseSection(out, report);
    databaseSection(out, report);
    listSection(out, "Commands", report.commands);
    listSection(out, "Folders created", report.foldersCreated);
    listSection(out, "Files created", report.filesCreated);
    listSection(out, "Files changed", report.filesChanged);
    listSection(out, "Progress log of the run", report.log);
    out << "\n" << report.result.line << "\n";
    return out.str();
}

std::string alreadyConfiguredText(const std::string& machine) {
    return "Preview of the installation run on " + machine +
           "\nThe machine is configured already (its config.inc exists). Without --yes the run "
           "ends while loading the machine and changes nothing; give --yes to preview a run "
           "that reads the existing configuration first.\nVerdict: no change needed\n";
}

std::string alreadyConfiguredJson(const std::string& machine, int exitStatus) {
    Json json;
    verdictFields(json, PreviewVerdict{}, true);
    json["machine"] = machine;
    json["result"] = resultObject(
        exitStatus, "The machine is configured already; without --yes nothing is run.");
    return documentText(json);
}

std::string previewJson(const PreviewReport& report) {
    Json json;
    verdictFields(json, previewVerdict(report), false);
    json["machine"] = report.machine;
    Json options;
    options["tasks"] = report.options.CreateTasks;
    options["database"] = report.options.InitializeDatabase;
    options["sites"] = report.options.SetUpSites;
    json["options"] = std::move(options);
    json["configFile"] = configFileObject(report);
    json["metabase"] = metabaseObject(report);
    json["database"] = databaseObject(report.database);
    json["commands"] = report.commands;
    json["foldersCreated"] = report.foldersCreated;
    json["filesCreated"] = report.filesCreated;
    json["filesChanged"] = report.filesChanged;
    json["log"] = report.log;
    json["result"] = resultObject(report.result.exitStatus, report.result.line);
    return documentText(json);
}

}  // namespace tessaron::app::preview
