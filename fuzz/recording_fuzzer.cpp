// libFuzzer target: the best-game file's reader and check.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readRecordingBytes(data, size);
    return 0;
}
