#include "database/DatabaseStage.h"

namespace tessaron {

void RunDatabaseStage(RunContext&) {}

}  // namespace tessaron
