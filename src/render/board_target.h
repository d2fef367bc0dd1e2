#pragma once
#include <cstdint>

// The off-screen target the board is drawn into every play frame.
struct BoardTarget {
    std::uint32_t framebuffer = 0;
    std::uint32_t depthBuffer = 0;
    std::uint32_t colorTexture = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

bool createBoardTarget(BoardTarget& target, std::int32_t width, std::int32_t height, bool withDepth);
void bindBoardTarget(const BoardTarget& target);
void unbindBoardTarget();
void releaseBoardTarget(BoardTarget& target);
