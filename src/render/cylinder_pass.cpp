#include "render/cylinder_pass.h"

#include "render/board_target.h"
#include "render/gl.h"

// Placeholder until the passes land.
void runCylinderPass(const PlayState&, std::uint32_t, std::uint32_t, const LightParams&, const Font&) {
    unbindBoardTarget();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
