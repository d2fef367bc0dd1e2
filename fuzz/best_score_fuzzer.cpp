// libFuzzer target: the best-score file's parser.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readBestScoreBytes(data, size);
    return 0;
}
