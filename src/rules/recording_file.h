#pragma once
// The best-game file's bytes: a header (magic word, format version, the
// game's version, score, frame count, CRC-32 of the rest), then what the game
// carried over and the four streams. Little-endian throughout.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "state/recording.h"

// Nothing larger is read.
inline constexpr std::size_t largestRecordingBytes = largestBestGameBytes;

void encodeRecording(const Recording& recording, std::vector<std::uint8_t>& bytes);

// False, with what is wrong in problem, for bytes that are not a whole,
// plausible recording: time steps finite and within [0, 0.05], random numbers
// within [0, 1), checkpoints in order and ending at the death.
bool decodeRecording(std::span<const std::uint8_t> bytes, Recording& recording, std::string& problem);
