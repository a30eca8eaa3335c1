#pragma once

#include <memory>

#include "platform/PanelComponent.h"

namespace tessaron::platform::windows {

// Creates the panel component registered as Tessaron.Master, late-bound.
// Throws PlatformError (429, as a script's object creation reports it) when
// it is not registered or cannot be created.
std::unique_ptr<PanelComponent> createPanelComponent();

}  // namespace tessaron::platform::windows
