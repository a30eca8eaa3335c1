// The preview report as text for people and as JSON for scripts; both carry
// the same facts in the same order.
#include <sstream>

#include "app/preview/JsonWriter.h"
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

// A property's value: a list property as an array of its values (one a
// line in the metabase), any other as its text; null when unset.
void propertyValue(JsonWriter& json, const std::string& name,
                   const std::optional<std::string>& value) {
    if (!value) {
        json.null();
    } else if (isMultiValuedProperty(name)) {
        json.beginArray();
        if (!value->empty()) {
            for (const auto& line : splitText(*value, "\n")) json.value(line);
        }
        json.endArray();
    } else {
        json.value(*value);
    }
}

void propertyArray(JsonWriter& json, const std::vector<PropertyChange>& properties) {
    json.key("properties").beginArray();
    for (const auto& property : properties) {
        json.beginObject().field("name", property.name);
        json.key("before");
        propertyValue(json, property.name, property.before);
        json.key("after");
        propertyValue(json, property.name, property.after);
        json.endObject();
    }
    json.endArray();
}

void verdictFields(JsonWriter& json, const PreviewVerdict& verdict, bool alreadyConfigured) {
    json.key("schemaVersion").value(kPreviewSchemaVersion);
    json.key("changed").value(verdict.changed());
    json.key("alreadyConfigured").value(alreadyConfigured);
    json.key("counts")
        .beginObject()
        .key("configLines")
        .value(verdict.configLines)
        .key("metabaseKeys")
        .value(verdict.metabaseKeys)
        .key("sqlStatements")
        .value(verdict.sqlStatements)
        .key("commands")
        .value(verdict.commands)
        .key("foldersCreated")
        .value(verdict.foldersCreated)
        .key("filesCreated")
        .value(verdict.filesCreated)
        .key("filesChanged")
        .value(verdict.filesChanged)
        .endObject();
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
    JsonWriter json;
    json.beginObject();
    verdictFields(json, PreviewVerdict{}, true);
    json.field("machine", machine);
    json.key("result")
        .beginObject()
        .key("exitStatus")
        .value(exitStatus)
        .field("line", "The machine is configured already; without --yes nothing is run.")
        .endObject();
    json.endObject();
    return json.text();
}

std::string previewJson(const PreviewReport& report) {
    JsonWriter json;
    json.beginObject();
    verdictFields(json, previewVerdict(report), false);
    json.field("machine", report.machine);
    json.key("options")
        .beginObject()
        .key("tasks")
        .value(report.options.CreateTasks)
        .key("database")
        .value(report.options.InitializeDatabase)
        .key("sites")
        .value(report.options.SetUpSites)
        .endObject();

    json.key("configFile").beginObject().field("path", report.configFile);
    json.key("created").value(report.configCreated).key("changed").value(report.configChanged);
    json.key("changes").beginArray();
    for (const auto& line : report.configChanges) {
        json.beginObject()
            .field("change", std::string(1, line.change))
            .key("line")
            .value(line.lineNumber)
            .field("text", line.text)
            .endObject();
    }
    json.endArray().endObject();

    json.key("metabase").beginObject().field("path", report.metabaseFile);
    json.key("sites").beginArray();
    for (const auto& site : report.sites) {
        json.beginObject().field("name", site.name).field("location", site.location);
        json.key("created").value(site.created).endObject();
    }
    json.endArray();
    json.key("takenOver").beginArray();
    for (const auto& takeover : report.takeovers) {
        json.beginObject()
            .field("location", takeover.location)
            .field("formerName", takeover.formerName);
        propertyArray(json, takeover.lost);
        json.endObject();
    }
    json.endArray();
    json.key("startConflicts").beginArray();
    for (const auto& conflict : report.startConflicts) {
        json.beginObject()
            .field("location", conflict.location)
            .field("name", conflict.name)
            .field("holderLocation", conflict.holderLocation)
            .field("holderName", conflict.holderName)
            .field("binding", conflict.binding)
            .endObject();
    }
    json.endArray();
    json.key("keys").beginArray();
    for (const auto& change : report.metabaseChanges) {
        json.beginObject()
            .field("change", kindWord(change.kind))
            .field("location", change.location)
            .field("class", change.className);
        propertyArray(json, change.properties);
        json.endObject();
    }
    json.endArray().endObject();

    const auto& database = report.database;
    json.key("database").beginObject();
    json.key("attempted").value(database.attempted).key("connected").value(database.connected);
    json.key("failure");
    database.connected || !database.attempted ? json.null() : json.value(database.failure);
    json.stringArray("existingTables", database.existingTables);
    json.key("statements").beginArray();
    for (const auto& statement : database.statements) {
        json.beginObject().field("text", statement.text);
        json.field("outcome", statementOutcome(statement));
        json.key("note");
        statement.note.empty() ? json.null() : json.value(statement.note);
        json.endObject();
    }
    json.endArray().endObject();

    json.stringArray("commands", report.commands);
    json.stringArray("foldersCreated", report.foldersCreated);
    json.stringArray("filesCreated", report.filesCreated);
    json.stringArray("filesChanged", report.filesChanged);
    json.stringArray("log", report.log);
    json.key("result")
        .beginObject()
        .key("exitStatus")
        .value(report.result.exitStatus)
        .field("line", report.result.line)
        .endObject();
    json.endObject();
    return json.text();
}

}  // namespace tessaron::app::preview
