// Tubewyrm: a snake on a board wrapped round a turning drum.
#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"

int main() {
    setUpProcess();
    static Program program;
    startUp(program);
    endProgram(runSession(program));
}
