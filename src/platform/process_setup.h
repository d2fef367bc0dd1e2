#pragma once
// Process-level pieces of the real platform that endProgram needs.

// After a termination signal: restores its default action and raises it
// again, so the parent sees the process killed by it. Returns otherwise.
void endBySignalIfAsked();
