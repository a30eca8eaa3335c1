#pragma once

#include "runcontext/RunContext.h"

namespace tessaron {

// The database stage of the installation run: connects to the panel's
// database, creates its tables and inserts the initial rows. Sets RunError
// when the connection fails.
void runDatabaseStage(RunContext& run);

}  // namespace tessaron
