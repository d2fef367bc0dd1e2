#pragma once
#include <array>
#include <cstdint>

// What happened in a frame that the player should hear. The rules note it;
// the loop hands it on and clears it, so nothing here allocates.
enum class GameEventKind : std::uint8_t { gameStart, eat, reversal, death, newBest, pause, resume };

struct GameEvent {
    GameEventKind kind = GameEventKind::gameStart;
    std::int32_t value = 0;  // the digit eaten
    bool operator==(const GameEvent&) const = default;
};

struct GameEvents {
    std::array<GameEvent, 8> list{};
    int count = 0;
    bool operator==(const GameEvents&) const = default;
};

// Past capacity the latest are dropped: a frame never holds that many.
inline void noteEvent(GameEvents& events, GameEventKind kind, std::int32_t value = 0) {
    if (events.count < static_cast<int>(events.list.size())) events.list[events.count++] = {kind, value};
}
