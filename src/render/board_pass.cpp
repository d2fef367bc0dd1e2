#include "render/board_pass.h"

#include "game/play_state.h"
#include "game/snake.h"
#include "render/board_target.h"
#include "render/gl.h"
#include "render/projection_2d.h"

// Placeholder until the passes land.
std::uint32_t createBoardCopyTexture(std::int32_t, std::int32_t) { return 0; }

void runBoardPass(PlayState& play, const BoardTarget& target, std::uint32_t, const TextureSet&, const Font&) {
    bindBoardTarget(target);
    pushOrtho2D(static_cast<std::int32_t>(target.width), static_cast<std::int32_t>(target.height));
    glClear(GL_COLOR_BUFFER_BIT);
    advanceReversalPulse(play);
    popOrtho2D();
}
