#include "app/answers/SiteAnswers.h"

#include <algorithm>
#include <vector>

#include "app/window/MainFormControls.h"
#include "platform/Failure.h"
#include "platform/MetabasePaths.h"
#include "settings/SiteChoices.h"

namespace tessaron::app::answers {

using window::ControlModel;
namespace frmMain = window::frmMain;

namespace {

// A site list, the sites it lists and how the run marks the one it uses.
struct SiteRole {
    std::string_view control;
    const char* servicePath;
    const char* className;
    const char* panelName;                    // the ServerComment the run writes
    std::string SettingsRecord::*configured;  // config.inc's number; null: none kept
};

const std::vector<SiteRole>& siteRoles() {
    static const std::vector<SiteRole> roles = {
        {frmMain::cmbControlPanelSite, iis_paths::kWebService, "IIsWebServer",
         "Tessaron - Control Panel", nullptr},
        {frmMain::cmbMainFTPSVC, iis_paths::kFtpService, "IIsFtpServer", "Tessaron - FTP",
         &SettingsRecord::MainFTPSVC},
        {frmMain::cmbSharedSecureSVC, iis_paths::kWebService, "IIsWebServer",
         "Tessaron - Shared Secure", &SettingsRecord::SharedSecureSVC},
        {frmMain::cmbPreviewSVC, iis_paths::kWebService, "IIsWebServer",
         "Tessaron - Website Preview", &SettingsRecord::PreviewSVC},
    };
    return roles;
}

const SiteRole* roleOf(const std::string& control) {
    for (const auto& role : siteRoles()) {
        if (control == role.control) return &role;
    }
    return nullptr;
}

// The display name of the site numbered in config.inc, when that site exists
// with the role's class.
std::optional<std::string> configuredSiteName(Metabase& iis, const SiteRole& role,
                                              const std::string& number) {
    if (number.empty() || number == "0") return std::nullopt;
    try {
        auto site = iis.Open(std::string(role.servicePath) + "/" + number);
        if (site->Class() != role.className) return std::nullopt;
        return metabaseValueText(site->Get("ServerComment"));
    } catch (const PlatformError&) {
        return std::nullopt;
    }
}

bool bearsPanelName(Metabase& iis, const SiteRole& role) {
    try {
        auto service = iis.Open(role.servicePath);
        bool found = false;
        service->ListChildren(role.className, "ServerComment", [&](const MetabaseChildView& site) {
            found = site.value && *site.value == role.panelName;
            return !found;
        });
        return found;
    } catch (const PlatformError&) {
        return false;
    }
}

bool isEntry(const ControlModel& controls, const std::string& control, const std::string& text) {
    const auto& entries = controls[control].entries();
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

}  // namespace

bool isSiteList(const std::string& control) {
    return roleOf(control) != nullptr;
}

std::optional<std::string> panelSiteName(Platform& platform, const SettingsRecord& settings,
                                         const std::string& control) {
    const SiteRole* role = roleOf(control);
    if (!role) return std::nullopt;
    Metabase& iis = platform.Iis();
    if (role->configured) {
        if (auto name = configuredSiteName(iis, *role, settings.*(role->configured))) return name;
    }
    if (bearsPanelName(iis, *role)) return std::string(role->panelName);
    return std::nullopt;
}

Answer resolveSiteAnswer(Platform& platform, const SettingsRecord& settings,
                         const ControlModel& controls, Answer answer) {
    if (!isSiteList(answer.control)) return answer;
    if (!answer.quoted && answer.value == kPanelSiteAnswer) {
        answer.value = panelSiteName(platform, settings, answer.control).value_or(kCreateNewSite);
        return answer;
    }
    if (isEntry(controls, answer.control, answer.value)) return answer;
    if (auto panelSite = panelSiteName(platform, settings, answer.control)) {
        answer.value = *panelSite;
    }
    return answer;
}

}  // namespace tessaron::app::answers
