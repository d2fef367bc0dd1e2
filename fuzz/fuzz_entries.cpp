#include "fuzz_entries.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/best_games_file.h"
#include "platform/best_score_file.h"
#include "platform/settings_file.h"
#include "rules/recording_check.h"
#include "rules/recording_file.h"
#include "state/recording.h"

namespace {

// Header bytes a decode does not keep: the game's version and the checksum.
bool keptByDecode(std::size_t offset) { return !(offset >= 10 && offset < 16) && !(offset >= 24 && offset < 28); }

}  // namespace

void readRecordingBytes(const std::uint8_t* data, std::size_t size) {
    Recording recording;
    std::string problem;
    if (!decodeRecording(std::span(data, size), recording, problem)) {
        if (problem.empty()) std::abort();
        return;
    }
    // Whatever is accepted encodes back to the same bytes.
    std::vector<std::uint8_t> again;
    encodeRecording(recording, again);
    if (again.size() != size) std::abort();
    for (std::size_t i = 0; i < size; ++i)
        if (keptByDecode(i) && again[i] != data[i]) std::abort();
    if (!checkRecording(recording, problem) && problem.empty()) std::abort();
}

void readBestScoreBytes(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const std::optional<int> score = parseBestScore(content);
    if (!score) return;
    // A score read is the file's digits, leading zeros aside.
    std::string_view digits = content;
    if (!digits.empty() && digits.back() == '\n') digits.remove_suffix(1);
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (*score < 0 || std::to_string(*score) != digits) std::abort();
}

void readSettingsBytes(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    Settings read;
    parseSettings(content, read);
    // Keeping both choices as read gives a file that reads back cleanly as
    // the same choices, whatever else the file held.
    std::string kept = withSetting(content, "sound", read.soundOn ? "on" : "off");
    kept = withSetting(kept, "palette", read.contrastPalette ? "contrast" : "design");
    Settings again;
    if (!parseSettings(kept, again)) std::abort();
    if (again.soundOn != read.soundOn || again.contrastPalette != read.contrastPalette) std::abort();
}

void readBestGamesBytes(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const BestGames games = parseBestGames(content, problems);
    // At most ten, best first (of equal scores the earlier), each recording a
    // plain name in the folder and named once.
    const std::vector<BestGameEntry>& entries = games.entries;
    if (entries.size() > static_cast<std::size_t>(bestGamesKept)) std::abort();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].score < 0 || entries[i].endedAt < 0 || !(entries[i].playSeconds >= 0.0)) std::abort();
        if (i > 0 && (entries[i - 1].score < entries[i].score ||
                      (entries[i - 1].score == entries[i].score && entries[i - 1].endedAt > entries[i].endedAt)))
            std::abort();
        if (entries[i].recording.empty()) continue;
        if (!isRecordingName(entries[i].recording)) std::abort();
        for (std::size_t j = 0; j < i; ++j)
            if (entries[j].recording == entries[i].recording) std::abort();
    }
    // Without a problem told, every line was a game.
    const auto lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) +
                       (!content.empty() && content.back() != '\n' ? 1 : 0);
    if (problems.empty() && lines != entries.size()) std::abort();
    // What was read writes back as a table that reads as the same games, cleanly.
    std::vector<std::string> again;
    if (parseBestGames(formatBestGames(games), again) != games || !again.empty()) std::abort();
}
