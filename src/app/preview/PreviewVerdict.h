#pragma once

#include <string>

#include "app/preview/Preview.h"

namespace tessaron::app::preview {

// The version of the preview's JSON document (docs/preview.schema.json); it
// changes only when a field changes meaning or goes away.
inline constexpr int kPreviewSchemaVersion = 1;

// How many changes each section of a preview report holds, and whether the
// run would change anything at all. Computed from the report's sections only,
// so it holds for any way the report is made.
struct PreviewVerdict {
    int configLines = 0;    // config.inc lines removed or added, the date line aside
    int metabaseKeys = 0;   // keys created, changed or removed
    int sqlStatements = 0;  // statements that change the database
    int commands = 0;
    int foldersCreated = 0;
    int filesCreated = 0;
    int filesChanged = 0;

    bool changed() const {
        return configLines + metabaseKeys + sqlStatements + commands + foldersCreated +
                   filesCreated + filesChanged >
               0;
    }
};

PreviewVerdict previewVerdict(const PreviewReport& report);

// What a statement of the database section does, as a code for scripts:
// "creates" (a table), "exists" (a CREATE of a table there already: it fails
// and changes nothing), "inserts", "duplicate" (an insert the key refuses),
// "alters", "fails" (refused for another reason), "executes" (anything else).
std::string statementOutcome(const PreviewStatement& statement);
bool statementChanges(const PreviewStatement& statement);

// True for the line of config.inc that carries the date it was written on,
// which differs between runs on different days and is no change of settings.
bool isConfigDateLine(const std::string& line);

// True for metabase properties that hold a list (one value a line).
bool isMultiValuedProperty(const std::string& name);

}  // namespace tessaron::app::preview
