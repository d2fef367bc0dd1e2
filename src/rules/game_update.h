#pragma once

struct PlayState;

// One game update: turn check with the trail step, taper, motion, edge test,
// wrap, self-collision test, food test and growth. False means game over; the
// update stops at the failed test.
bool runGameUpdate(PlayState& play);
