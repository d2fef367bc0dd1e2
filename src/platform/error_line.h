#pragma once
#include <string_view>

// One line on standard error: "tubewyrm: " and the text. A standard error
// that cannot be written to leaves nobody to tell, so a failure is ignored.
void printErrorLine(std::string_view text);

// The same, but only the first time this run: a problem found again on every
// read of a file is told once.
void printErrorLineOnce(std::string_view text);
