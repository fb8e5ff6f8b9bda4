// Small key=value settings file standing in for registry values
// ("ServerList", "apiSourceID", "sShortDate", "sTimeFormat").
// Location: $ZQAPI_CONFIG, else $XDG_CONFIG_HOME/zqapi/config, else
// ~/.config/zqapi/config.
#pragma once

#include <optional>
#include <string>

namespace zq::platform {

std::string configPath();
// The value of key, or nothing when the file or the key is absent.
std::optional<std::string> configValue(const std::string& key);
// Stores key=value (an empty value is stored as such); false on failure.
bool setConfigValue(const std::string& key, const std::string& value);

}  // namespace zq::platform
