#pragma once

#include "app/wiring/Backend.h"

namespace tessaron::startup {

// The backends this build has: machine images (with the database service of
// the ODBC driver manager) everywhere, and on Windows the machine the program
// runs on.
app::wiring::Backend programBackend();

}  // namespace tessaron::startup
