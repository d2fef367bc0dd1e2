// libFuzzer target: the reader of the table of best games.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readBestGamesBytes(data, size);
    return 0;
}
