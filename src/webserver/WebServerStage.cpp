#include "webserver/WebServerStage.h"

namespace tessaron {

bool RunWebServerStage(RunContext&, HeldSiteNumbers&) { return true; }

void AppendSiteSettings(RunContext&, const HeldSiteNumbers&) {}

}  // namespace tessaron
