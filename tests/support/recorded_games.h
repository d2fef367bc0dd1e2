#pragma once
// The games kept in tests/data: recordings made by version 1.1.0 and what
// each replays to.
#include <cstdint>
#include <string>
#include <vector>

#include "rules/snake_rules.h"
#include "state/recording.h"

// The folder of the kept games (set by the build).
std::string testDataFolder();

// FNV-1a over the bits of every field of every segment, head first.
std::uint64_t snakeHash(const Snake& snake);

struct KeptGame {
    std::string name;
    int score = 0;
    int frames = 0;
    std::uint64_t snakeHash = 0;
};
// The table in recorded_games.txt; empty when it cannot be read.
std::vector<KeptGame> keptGames();

// The recording of a kept game, decoded; false with the problem said.
bool loadKeptRecording(const std::string& name, Recording& recording, std::string& problem);
