#include "app/preview/SecretMask.h"

#include <algorithm>

#include "database/SqlLiteral.h"
#include "platform/WindowsPath.h"
#include "settings/ConvertASPText.h"

namespace tessaron::app::preview {

std::vector<std::pair<std::string, std::string>> passwordSettings(const SettingsRecord& settings) {
    return {
        {"AdminPassword", settings.AdminPassword},
        {"MainDatabasePassword", settings.MainDatabasePassword},
        {"SQLServerAdminPassword", settings.SQLServerAdminPassword},
        {"MySQLAdminPassword", settings.MySQLAdminPassword},
    };
}

SecretMask::SecretMask(const SettingsRecord& settings) {
    for (const auto& [name, value] : passwordSettings(settings)) add(value);
}

void SecretMask::add(const std::string& secret) {
    if (secret.empty()) return;
    const std::vector<std::string> forms = {
        secret,
        ConvertASPText(secret),
        literalText(secret, LiteralStyle{.backslashEscapes = false}),
        literalText(secret, LiteralStyle{.backslashEscapes = true}),
    };
    for (const auto& form : forms) {
        if (!form.empty() && std::find(secrets_.begin(), secrets_.end(), form) == secrets_.end()) {
            secrets_.push_back(form);
        }
    }
    std::stable_sort(
        secrets_.begin(), secrets_.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

std::string SecretMask::apply(std::string text) const {
    for (const auto& secret : secrets_) text = replaceAll(std::move(text), secret, kMaskedSecret);
    return text;
}

std::vector<std::string> SecretMask::apply(std::vector<std::string> texts) const {
    for (auto& text : texts) text = apply(std::move(text));
    return texts;
}

}  // namespace tessaron::app::preview
