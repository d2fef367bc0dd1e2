#include "rules/recording_file.h"

#include <zlib.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "rules/frame_rules.h"

namespace {

constexpr char magic[8] = {'T', 'W', 'Y', 'R', 'M', 'G', 'M', '\x1a'};
constexpr std::uint16_t formatVersion = 1;
constexpr std::size_t headerBytes = 28;
// Carried-over values and the four counts.
constexpr std::size_t fixedBodyBytes = 8 + 8 + 3 * 4 + 4 + 1 + 4 + 4 + 3 * 4;
constexpr std::size_t checkpointBytes = 16;
constexpr std::uint32_t smallestBoardSide = 64;
constexpr std::uint32_t largestBoardSide = 8192;

#ifndef TUBEWYRM_VERSION_MAJOR
#define TUBEWYRM_VERSION_MAJOR 0
#define TUBEWYRM_VERSION_MINOR 0
#define TUBEWYRM_VERSION_PATCH 0
#endif

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) { put(out, v, 2); }
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) { put(out, v, 4); }
void putFloat(std::vector<std::uint8_t>& out, float v) { put(out, std::bit_cast<std::uint32_t>(v), 4); }
void putDouble(std::vector<std::uint8_t>& out, double v) { put(out, std::bit_cast<std::uint64_t>(v), 8); }

// Reads forward through bytes whose length has been checked beforehand.
struct Reader {
    const std::uint8_t* at;
    std::uint64_t take(int size) {
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i) value |= std::uint64_t{at[i]} << (8 * i);
        at += size;
        return value;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    float f32() { return std::bit_cast<float>(u32()); }
    double f64() { return std::bit_cast<double>(take(8)); }
};

std::uint32_t crcOf(std::span<const std::uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt; a recording is far below its limit.
    crc = crc32(crc, bytes.data(), static_cast<uInt>(bytes.size()));
    return static_cast<std::uint32_t>(crc);
}

bool refuse(std::string& problem, std::string what) {
    problem = std::move(what);
    return false;
}

}  // namespace

void encodeRecording(const Recording& r, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    for (char c : magic) bytes.push_back(static_cast<std::uint8_t>(c));
    put16(bytes, formatVersion);
    put16(bytes, TUBEWYRM_VERSION_MAJOR);
    put16(bytes, TUBEWYRM_VERSION_MINOR);
    put16(bytes, TUBEWYRM_VERSION_PATCH);
    put32(bytes, static_cast<std::uint32_t>(recordedScore(r)));
    put32(bytes, static_cast<std::uint32_t>(r.frameTimes.size()));
    put32(bytes, 0);  // the checksum, once the rest is written
    const CarriedOver& c = r.carried;
    putDouble(bytes, c.playTime);
    putDouble(bytes, c.nextTrailStep);
    putFloat(bytes, c.lastPollPosition.x);
    putFloat(bytes, c.lastPollPosition.y);
    putFloat(bytes, c.lastPollPosition.z);
    putFloat(bytes, c.reversalPulse);
    bytes.push_back(static_cast<std::uint8_t>((c.movingHorizontally ? 1 : 0) | (c.movingVertically ? 2 : 0)));
    put32(bytes, c.boardWidth);
    put32(bytes, c.boardHeight);
    put32(bytes, static_cast<std::uint32_t>(r.arrows.size()));
    put32(bytes, static_cast<std::uint32_t>(r.randoms.size()));
    put32(bytes, static_cast<std::uint32_t>(r.checkpoints.size()));
    for (double t : r.frameTimes) putDouble(bytes, t);
    bytes.insert(bytes.end(), r.arrows.begin(), r.arrows.end());
    for (double v : r.randoms) putDouble(bytes, v);
    for (const Checkpoint& c : r.checkpoints) {
        put32(bytes, c.frame);
        put32(bytes, c.score);
        putFloat(bytes, c.headX);
        putFloat(bytes, c.headY);
    }
    const std::uint32_t crc = crcOf(std::span(bytes).subspan(headerBytes));
    for (int i = 0; i < 4; ++i)
        bytes[headerBytes - 4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
}

bool decodeRecording(std::span<const std::uint8_t> bytes, Recording& r, std::string& problem) {
    if (bytes.size() > largestRecordingBytes) return refuse(problem, "larger than 64 MiB");
    if (bytes.size() < sizeof magic || std::memcmp(bytes.data(), magic, sizeof magic) != 0)
        return refuse(problem, "not a recorded game (wrong magic word)");
    if (bytes.size() < headerBytes + fixedBodyBytes) return refuse(problem, "truncated");
    Reader in{bytes.data() + sizeof magic};
    const std::uint16_t version = in.u16();
    if (version != formatVersion) return refuse(problem, "format version " + std::to_string(version) + " is not 1");
    in.take(6);  // the game's version: the checkpoints tell whether its rules are ours
    const std::uint32_t score = in.u32();
    const std::uint32_t frames = in.u32();
    const std::uint32_t crc = in.u32();

    CarriedOver& c = r.carried;
    c.playTime = in.f64();
    c.nextTrailStep = in.f64();
    c.lastPollPosition.x = in.f32();
    c.lastPollPosition.y = in.f32();
    c.lastPollPosition.z = in.f32();
    c.reversalPulse = in.f32();
    const std::uint8_t flags = static_cast<std::uint8_t>(in.take(1));
    c.boardWidth = in.u32();
    c.boardHeight = in.u32();
    const std::uint32_t arrowCount = in.u32();
    const std::uint32_t randomCount = in.u32();
    const std::uint32_t checkpointCount = in.u32();
    const std::uint64_t expected = std::uint64_t{headerBytes} + fixedBodyBytes + std::uint64_t{frames} * 8 +
                                   arrowCount + std::uint64_t{randomCount} * 8 +
                                   std::uint64_t{checkpointCount} * checkpointBytes;
    if (bytes.size() < expected) return refuse(problem, "truncated");
    if (bytes.size() > expected) return refuse(problem, "longer than its header says");
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION  // so the fuzzer reaches what follows
    if (crcOf(bytes.subspan(headerBytes)) != crc) return refuse(problem, "bad checksum");
#else
    static_cast<void>(crc);
#endif

    if (!std::isfinite(c.playTime) || c.playTime < 0.0 || !std::isfinite(c.nextTrailStep) ||
        !std::isfinite(c.lastPollPosition.x) || !std::isfinite(c.lastPollPosition.y) ||
        !std::isfinite(c.lastPollPosition.z) || !(c.reversalPulse >= 0.0f && c.reversalPulse <= reversalPulseEnd) ||
        flags > 3 || c.boardWidth < smallestBoardSide || c.boardWidth > largestBoardSide ||
        c.boardHeight < smallestBoardSide || c.boardHeight > largestBoardSide)
        return refuse(problem, "the values carried into the game are out of range");
    c.movingHorizontally = (flags & 1) != 0;
    c.movingVertically = (flags & 2) != 0;

    r.frameTimes.resize(frames);
    for (double& t : r.frameTimes) {
        t = in.f64();
        if (!(t >= 0.0 && t <= longestFrameTime)) return refuse(problem, "a time step is not within [0, 0.05]");
    }
    r.arrows.assign(in.at, in.at + arrowCount);
    in.at += arrowCount;
    for (std::uint8_t a : r.arrows)
        if (a > (arrowUp | arrowDown | arrowRight | arrowLeft)) return refuse(problem, "a key poll holds unknown keys");
    r.randoms.resize(randomCount);
    for (double& v : r.randoms) {
        v = in.f64();
        if (!(v >= 0.0 && v < 1.0)) return refuse(problem, "a random number is not within [0, 1)");
    }
    r.checkpoints.resize(checkpointCount);
    std::uint32_t lastFrame = 0;
    for (Checkpoint& c : r.checkpoints) {
        c.frame = in.u32();
        c.score = in.u32();
        c.headX = in.f32();
        c.headY = in.f32();
        if (c.frame <= lastFrame || c.frame > frames) return refuse(problem, "the checkpoints are out of order");
        lastFrame = c.frame;
    }
    if (checkpointCount == 0 || lastFrame != frames || r.checkpoints.back().score != score)
        return refuse(problem, "the last checkpoint is not the death the header gives");
    return true;
}
