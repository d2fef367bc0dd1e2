#pragma once
// The settings file: the player's choices of sound and palette kept between
// runs as the lines "sound=on|off" and "palette=design|contrast". Plain POSIX,
// no SDL, so the unit tests run it against real folders.
#include <string>
#include <string_view>

#include "platform/platform.h"

// Applies each line of content that names a choice over settings. Spaces and
// tabs around the name and the value and a CR before the line end are
// allowed, a later line wins over an earlier one, and a line that names no
// choice is ignored. False when a choice has a value it cannot have; that
// choice then goes back to its default.
bool parseSettings(std::string_view content, Settings& settings);

// content with name's line set to name=value: the first such line changes in
// place, later ones go, and with none it is added at the end. Every other
// line stays as it was, so a newer game's choices survive an older game.
std::string withSetting(std::string_view content, std::string_view name, std::string_view value);

// configHome/tubewyrm/settings, else home/.config/tubewyrm/settings; relative
// or empty folders do not count. Empty when neither is usable.
std::string settingsPath(const char* configHome, const char* home);

// The choices in path, or the defaults: silently when there is no file, after
// one line on standard error naming the file when it cannot be used or holds
// a bad value (the good lines still count).
Settings readSettingsFile(const std::string& path);

// Reads path again, sets name=value in it and replaces it whole, all under
// the lock file beside the file it replaces (taken as the best score's is), so
// that of two running games neither loses the other's choice. A symbolic
// link stays and its target is replaced (see fileToReplace). False after one
// line on standard error naming the file when that could not be done; a file
// that is there but cannot be read is then left as it is.
bool keepSetting(const std::string& path, std::string_view name, std::string_view value);
