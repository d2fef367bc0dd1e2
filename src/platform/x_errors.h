#pragma once

// Before SDL opens the display: a wake-up SDL sends to the game's own window
// from its second X connection may arrive after the window is gone (Escape
// pressed during a wait for events, on a busy X server). The X library's
// default handler would end the program with status 1 for it at exit; every
// other X error still does.
void tolerateWakeUpsToClosedWindows();
