#include "platform/error_line.h"

#include <cstdio>
#include <string>

void printErrorLine(std::string_view text) {
    std::string line = "tubewyrm: ";
    line += text;
    line += '\n';
    // One write, so a line is not torn by anything else writing there.
    static_cast<void>(std::fwrite(line.data(), 1, line.size(), stderr));
}
