// The player's choices kept in the user's configuration folder.
#include <cstdlib>

#include "platform/platform.h"
#include "platform/settings_file.h"

namespace {
std::string settingsFile() { return settingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }
}  // namespace

Settings loadSettings() { return readSettingsFile(settingsFile()); }

void keepSoundSetting(bool on) { keepSetting(settingsFile(), "sound", on ? "on" : "off"); }

void keepPaletteSetting(bool contrast) { keepSetting(settingsFile(), "palette", contrast ? "contrast" : "design"); }
