// libFuzzer target: the settings file's parser and the rewrite of a choice.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readSettingsBytes(data, size);
    return 0;
}
