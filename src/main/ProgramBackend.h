#pragma once

#include "app/Backend.h"

namespace tessaron::startup {

// The backends this build has: machine images (with the database service of
// the ODBC driver manager) everywhere.
app::Backend programBackend();

}  // namespace tessaron::startup
