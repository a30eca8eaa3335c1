#pragma once

#include <optional>
#include <string>

#include "app/answers/AnswersFile.h"
#include "platform/Platform.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::answers {

// The answers-file form of a site list that means "the site this panel
// already uses for this list's role, or a new one when there is none". It
// makes an answers file that creates the panel's sites safe to apply again:
// the second run finds the sites the first one created instead of adding
// more.
inline constexpr const char* kPanelSiteAnswer = "@panel-site";

// The display name of the site the panel uses for the role of a site list
// (cmbControlPanelSite, cmbMainFTPSVC, cmbSharedSecureSVC, cmbPreviewSVC):
// the site whose number config.inc names for that role, when it exists with
// the role's class (the control panel has no number there); otherwise the
// last site bearing the name the run gives that role ("Tessaron - FTP").
// Nothing when no site is found or the control is no site list.
std::optional<std::string> panelSiteName(Platform& platform, const SettingsRecord& settings,
                                         const std::string& control);

// True when the control is one of the four site lists.
bool isSiteList(const std::string& control);

// The answer as the site lists of an unattended run read it:
//   - kPanelSiteAnswer (unquoted) becomes the panel's site for the role, or
//     "-- Create New Site --" when there is none;
//   - a site named that no longer exists while the panel's site for the role
//     does becomes that site: a site taken over by name bears the role's name
//     after the run, so the same answer applied again finds it.
// Any other answer is returned unchanged.
Answer resolveSiteAnswer(Platform& platform, const SettingsRecord& settings,
                         const app::window::ControlModel& controls, Answer answer);

}  // namespace tessaron::app::answers
