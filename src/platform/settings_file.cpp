#include "platform/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/error_line.h"
#include "platform/file_lock.h"
#include "platform/small_file.h"

namespace {

// Two short lines are all the game writes; anything much longer is not ours.
constexpr std::size_t longestSettings = 4096;

struct SettingLine {
    std::string_view name;  // empty when the line names nothing
    std::string_view value;
};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

SettingLine splitLine(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    return {trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

// Calls use on each line of content, without its line end.
template <typename Use>
void forEachLine(std::string_view content, Use use) {
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        use(content.substr(0, end));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    }
}

// Sets choice from value when it is one of the two it may be.
bool setChoice(std::string_view value, std::string_view whenTrue, std::string_view whenFalse, bool defaultValue,
               bool& choice) {
    const bool good = value == whenTrue || value == whenFalse;
    choice = good ? value == whenTrue : defaultValue;
    return good;
}

bool isChoiceName(std::string_view name) { return name == "sound" || name == "palette"; }

}  // namespace

bool parseSettings(std::string_view content, Settings& settings) {
    const Settings defaults;
    bool good = true;
    forEachLine(content, [&](std::string_view line) {
        const SettingLine setting = splitLine(line);
        if (setting.name == "sound")
            good &= setChoice(setting.value, "on", "off", defaults.soundOn, settings.soundOn);
        else if (setting.name == "palette")
            good &= setChoice(setting.value, "contrast", "design", defaults.contrastPalette, settings.contrastPalette);
    });
    return good;
}

std::string withSetting(std::string_view content, std::string_view name, std::string_view value) {
    const std::string newLine = std::string(name) + "=" + std::string(value) + "\n";
    std::string result;
    bool placed = false;
    forEachLine(content, [&](std::string_view line) {
        if (splitLine(line).name != name) {
            result.append(line).push_back('\n');
        } else if (!placed) {
            result += newLine;
            placed = true;
        }
    });
    if (!placed) result += newLine;
    return result;
}

std::string settingsPath(const char* configHome, const char* home) {
    if (configHome && configHome[0] == '/') return std::string(configHome) + "/tubewyrm/settings";
    if (home && home[0] == '/') return std::string(home) + "/.config/tubewyrm/settings";
    return {};
}

Settings readSettingsFile(const std::string& path) {
    Settings settings;
    if (path.empty()) {
        printErrorLine("no settings kept: neither XDG_CONFIG_HOME nor HOME names a folder");
        return settings;
    }
    const SmallFileContent file = readSmallFile(path, longestSettings);
    if (!file.problem.empty()) {
        printErrorLine("ignoring the settings in " + path + ": " + file.problem);
    } else if (!parseSettings(file.bytes, settings)) {
        // The line itself is not echoed: it may hold anything, terminal codes too.
        printErrorLine("ignoring a bad value in " + path +
                       " (sound=on or off, palette=design or contrast): its default is used");
    }
    return settings;
}

bool keepSetting(const std::string& path, std::string_view name, std::string_view value) {
    const auto fail = [&](const std::string& why) {
        printErrorLine("cannot keep the setting " + std::string(name) + " in " + path + ": " + why);
        return false;
    };
    if (path.empty()) return fail("neither XDG_CONFIG_HOME nor HOME names a folder");
    std::string problem;
    const std::string file = fileToReplace(path, problem);
    if (file.empty()) return fail(problem);
    const std::string folder = folderOf(file);
    if (const int error = makeFolders(folder)) return fail(std::strerror(error));

    // Read, changed and replaced under the lock: a choice another running
    // game keeps in the meantime is then in what this one reads.
    const FileLock lock(file + ".lock");
    if (!lock.problem().empty()) return fail(lock.problem());
    const SmallFileContent current = readSmallFile(file, longestSettings);
    if (!current.problem.empty()) return fail(current.problem);
    std::string content = withSetting(current.bytes, name, value);
    if (content.size() > longestSettings) {
        // Lines the game does not know made room for no more: they go.
        std::string known;
        forEachLine(content, [&](std::string_view line) {
            if (isChoiceName(splitLine(line).name)) known.append(line).push_back('\n');
        });
        content = known;
    }
    std::string temporary;
    if (const int error = writeTemporaryFile(file, content, temporary)) return fail(std::strerror(error));
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        static_cast<void>(std::remove(temporary.c_str()));
        return fail(std::strerror(error));
    }
    flushFolder(folder);
    return true;
}
