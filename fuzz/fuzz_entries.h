#pragma once
// What each fuzzer feeds its input to; the corpus run in the tests calls the
// same routines on the kept inputs without libFuzzer. A fault aborts.
#include <cstddef>
#include <cstdint>

void readRecordingBytes(const std::uint8_t* data, std::size_t size);
void readBestScoreBytes(const std::uint8_t* data, std::size_t size);
void readSettingsBytes(const std::uint8_t* data, std::size_t size);
void readBestGamesBytes(const std::uint8_t* data, std::size_t size);
