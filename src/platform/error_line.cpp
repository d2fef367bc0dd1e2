#include "platform/error_line.h"

#include <cstdio>
#include <string>
#include <unordered_set>

void printErrorLine(std::string_view text) {
    std::string line = "tubewyrm: ";
    line += text;
    line += '\n';
    // One write, so a line is not torn by anything else writing there.
    static_cast<void>(std::fwrite(line.data(), 1, line.size(), stderr));
}

void printErrorLineOnce(std::string_view text) {
    static std::unordered_set<std::string> told;
    if (told.emplace(text).second) printErrorLine(text);
}
