#pragma once

#include <string>
#include <vector>

#include "settings/SettingsRecord.h"

namespace tessaron::app::preview {

// What stands in for a password in anything shown or saved.
inline constexpr const char* kMaskedSecret = "********";

// Hides the passwords of the settings in texts meant for people: previews,
// printed logs, saved logs. Each password is hidden as typed and as the run
// writes it into config.inc and SQL literals, so that a password with quotes
// or backslashes is hidden there too.
class SecretMask {
public:
    SecretMask() = default;
    explicit SecretMask(const SettingsRecord& settings);

    // Adds one secret (empty text is ignored).
    void add(const std::string& secret);
    std::string apply(std::string text) const;
    std::vector<std::string> apply(std::vector<std::string> texts) const;
    bool empty() const { return secrets_.empty(); }

private:
    std::vector<std::string> secrets_;  // longest first, so a longer one is hidden whole
};

// The password fields of the settings record, as (setting name, value).
std::vector<std::pair<std::string, std::string>> passwordSettings(const SettingsRecord& settings);

}  // namespace tessaron::app::preview
