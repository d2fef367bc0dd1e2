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
    // Only the events noted: handing them on clears the count, not the slots.
    bool operator==(const GameEvents& other) const {
        if (count != other.count) return false;
        for (int i = 0; i < count; ++i)
            if (!(list[static_cast<std::size_t>(i)] == other.list[static_cast<std::size_t>(i)])) return false;
        return true;
    }
};

// Past capacity the latest are dropped: a frame never holds that many.
inline void noteEvent(GameEvents& events, GameEventKind kind, std::int32_t value = 0) {
    if (events.count < static_cast<int>(events.list.size())) events.list[events.count++] = {kind, value};
}
