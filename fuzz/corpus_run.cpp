// Feeds every kept fuzzer input (seeds and inputs that once found a fault) to
// the fuzzers' entry routines, without libFuzzer, in seconds. Argument: the
// corpus folder, with one subfolder per fuzzer.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_entries.h"

namespace {

int runFolder(const std::filesystem::path& folder, void (*entry)(const std::uint8_t*, std::size_t)) {
    int count = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        entry(bytes.data(), bytes.size());
        ++count;
    }
    std::printf("%s: %d inputs\n", folder.c_str(), count);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path corpus = argv[1];
    // An empty folder would pass without trying anything.
    if (runFolder(corpus / "recording", readRecordingBytes) == 0) return 1;
    if (runFolder(corpus / "best-score", readBestScoreBytes) == 0) return 1;
    if (runFolder(corpus / "settings", readSettingsBytes) == 0) return 1;
    if (runFolder(corpus / "best-games", readBestGamesBytes) == 0) return 1;
    return 0;
}
