#pragma once
#include <string>

struct Recording;

// Runs a decoded recording through the rules without drawing. True when the
// game follows it to the end: every checkpoint met, the death in its last
// frame, every recorded key poll and random number used. Otherwise problem
// names the first thing that went wrong. The recording comes back unchanged.
bool checkRecording(Recording& recording, std::string& problem);
