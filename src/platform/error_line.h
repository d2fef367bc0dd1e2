#pragma once
#include <string_view>

// One line on standard error: "tubewyrm: " and the text. A standard error
// that cannot be written to leaves nobody to tell, so a failure is ignored.
void printErrorLine(std::string_view text);
