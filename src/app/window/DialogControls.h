#pragma once

// The names of the install-options dialog's and the progress window's
// controls that the program's own code refers to, as compile-time constants
// beside those of the settings window (MainFormControls.h); a test checks
// that each is one of its form's controls in the catalogue.

#include <array>
#include <string_view>

namespace tessaron::app::window {

namespace frmInstall {
inline constexpr std::string_view OKButton = "OKButton";
inline constexpr std::string_view CancelButton = "CancelButton";
inline constexpr std::string_view chkCreateTasks = "chkCreateTasks";
inline constexpr std::string_view chkInitDB = "chkInitDB";
inline constexpr std::string_view chkSetupIIS = "chkSetupIIS";

inline constexpr std::array kNamedControls = {OKButton, CancelButton, chkCreateTasks, chkInitDB,
                                              chkSetupIIS};
}  // namespace frmInstall

namespace frmProgress {
inline constexpr std::string_view txtProgress = "txtProgress";

inline constexpr std::array kNamedControls = {txtProgress};
}  // namespace frmProgress

}  // namespace tessaron::app::window
