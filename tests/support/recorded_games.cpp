#include "support/recorded_games.h"

#include <bit>
#include <fstream>
#include <iterator>
#include <sstream>

#include "rules/recording_file.h"

#ifndef TUBEWYRM_TEST_DATA
#define TUBEWYRM_TEST_DATA "tests/data"
#endif

std::string testDataFolder() { return TUBEWYRM_TEST_DATA; }

std::uint64_t snakeHash(const Snake& snake) {
    std::uint64_t h = 14695981039346656037ull;
    for (const Segment& s : snake)
        for (float f : {s.x, s.y, s.z, s.dx, s.dy, s.dz, s.scale}) {
            const std::uint32_t bits = std::bit_cast<std::uint32_t>(f);
            for (int i = 0; i < 4; ++i) {
                h ^= (bits >> (8 * i)) & 0xffu;
                h *= 1099511628211ull;
            }
        }
    return h;
}

std::vector<KeptGame> keptGames() {
    std::vector<KeptGame> games;
    std::ifstream in(testDataFolder() + "/recorded_games.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        KeptGame game;
        fields >> game.name >> game.score >> game.frames >> std::hex >> game.snakeHash;
        if (fields) games.push_back(game);
    }
    return games;
}

bool loadKeptRecording(const std::string& name, Recording& recording, std::string& problem) {
    std::ifstream in(testDataFolder() + "/" + name + ".twrec", std::ios::binary);
    if (!in) {
        problem = "cannot read " + name + ".twrec";
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return decodeRecording(bytes, recording, problem);
}
