// The random generator and the key state, without a window.
#include <gtest/gtest.h>

#include <SDL2/SDL_scancode.h>

#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/key_state.h"
#include "platform/mersenne_twister.h"
#include "platform/platform.h"

namespace {

// The published generator loaded with the same 624 words must agree draw for draw.
std::mt19937 oracleFor(std::uint32_t seedWord) {
    std::stringstream words;
    std::uint32_t word = seedWord;
    for (int i = 0; i < 624; ++i) {
        words << word << ' ';
        word = word * 1664525u + 1013904223u;
    }
    words << 624;  // position: regenerate before the first draw
    std::mt19937 oracle;
    words >> oracle;
    EXPECT_FALSE(words.fail());
    return oracle;
}

// Words, and doubles in [0, 1) as the standard library makes them from one word.
TEST(MersenneTwister, MatchesThePublishedGeneratorLoadedWithTheSameState) {
    for (double seed : {0.0, 1.0, 5489.0, 123456.789, 4294967295.0, 4294967296.0 + 17.0}) {
        MersenneTwister ours;
        seedMersenneTwister(ours, seed);
        std::uint32_t seedWord = static_cast<std::uint32_t>(static_cast<std::uint64_t>(seed));
        std::mt19937 oracle = oracleFor(seedWord);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(nextMersenneWord(ours), oracle()) << "seed " << seed << " draw " << i;
            ASSERT_EQ(nextUnitDouble(ours), (std::generate_canonical<double, 32>(oracle))) << "seed " << seed;
        }
    }
}

TEST(MersenneTwister, SeedIsTruncatedTowardZeroSoRunsInTheSameSecondAgree) {
    MersenneTwister a, b, c;
    seedMersenneTwister(a, 77.01);
    seedMersenneTwister(b, 77.99);
    seedMersenneTwister(c, 78.0);
    std::uint32_t first = nextMersenneWord(a);
    EXPECT_EQ(first, nextMersenneWord(b));
    EXPECT_NE(first, nextMersenneWord(c));
    // Negative seeds truncate toward zero too: -1.5 is -1, whose low 32 bits are all ones.
    MersenneTwister n, m;
    seedMersenneTwister(n, -1.5);
    seedMersenneTwister(m, 4294967295.0);
    EXPECT_EQ(nextMersenneWord(n), nextMersenneWord(m));
}

TEST(KeyState, ArrowsKeypadAndWASDGiveTheSameScanCodes) {
    const struct {
        int sdl;
        int pc;
    } table[] = {
        {SDL_SCANCODE_ESCAPE, 1}, {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_P, 25},    {SDL_SCANCODE_UP, 72},
        {SDL_SCANCODE_KP_8, 72},  {SDL_SCANCODE_W, 72},     {SDL_SCANCODE_DOWN, 80}, {SDL_SCANCODE_KP_2, 80},
        {SDL_SCANCODE_S, 80},     {SDL_SCANCODE_LEFT, 75},  {SDL_SCANCODE_KP_4, 75}, {SDL_SCANCODE_A, 75},
        {SDL_SCANCODE_RIGHT, 77}, {SDL_SCANCODE_KP_6, 77},  {SDL_SCANCODE_D, 77},    {SDL_SCANCODE_Q, 0},
        {SDL_SCANCODE_C, 46},     {SDL_SCANCODE_M, 50},     {SDL_SCANCODE_Z, 0},     {SDL_SCANCODE_KP_5, 0},
    };
    // Before any layout is read, the letters too are at their US places.
    for (const auto& row : table)
        EXPECT_EQ(pcScanCodeFor(keyLayoutFor({}), row.sdl), row.pc) << "SDL scancode " << row.sdl;
}

TEST(KeyState, EnterIsEitherEnterButNotWithAltAndBAndELeaveAKeyThatSteersByPlace) {
    // Dvorak types e at the US D place and b at the US N place.
    std::vector<int> dvorak(SDL_NUM_SCANCODES, 0);
    for (int letter = 0; letter < 26; ++letter) dvorak[SDL_SCANCODE_A + letter] = 'a' + letter;
    dvorak[SDL_SCANCODE_D] = 'e';
    dvorak[SDL_SCANCODE_E] = '.';
    dvorak[SDL_SCANCODE_N] = 'b';
    dvorak[SDL_SCANCODE_B] = 'x';
    const std::pair<int, int> places[] = {{SDL_SCANCODE_D, scanRight},      {SDL_SCANCODE_E, scanE},
                                          {SDL_SCANCODE_N, scanB},          {SDL_SCANCODE_B, 0},
                                          {SDL_SCANCODE_RETURN, scanEnter}, {SDL_SCANCODE_KP_ENTER, scanEnter}};
    for (auto [scancode, code] : places) EXPECT_EQ(pcScanCodeFor(keyLayoutFor(dvorak), scancode), code) << scancode;

    std::vector<unsigned char> held(SDL_NUM_SCANCODES, 0);
    KeyState keys;
    noteFocusChange(keys, true);
    held[SDL_SCANCODE_RETURN] = 1;
    for (const int alt : {int{SDL_SCANCODE_LALT}, int{SDL_SCANCODE_RALT}, 0}) {
        held[alt] = alt != 0;
        refreshKeyState(keys, held.data(), static_cast<int>(held.size()));
        EXPECT_EQ(readKey(keys, scanEnter), alt == 0) << "with SDL scancode " << alt;
        held[alt] = 0;
    }
}

TEST(KeyState, RefreshedOnlyWithFocusAndClearedByAnyFocusChange) {
    std::vector<unsigned char> held(SDL_NUM_SCANCODES, 0);
    held[SDL_SCANCODE_KP_4] = 1;
    held[SDL_SCANCODE_SPACE] = 1;
    KeyState keys;
    refreshKeyState(keys, held.data(), static_cast<int>(held.size()));
    EXPECT_FALSE(readKey(keys, scanLeft)) << "no focus yet";

    noteFocusChange(keys, true);
    refreshKeyState(keys, held.data(), static_cast<int>(held.size()));
    EXPECT_TRUE(readKey(keys, scanLeft));
    EXPECT_TRUE(readKey(keys, scanLeft)) << "a held key reads as held every time";
    EXPECT_TRUE(readKey(keys, scanSpace));
    EXPECT_FALSE(readKey(keys, scanRight));

    noteFocusChange(keys, false);
    EXPECT_FALSE(readKey(keys, scanLeft)) << "still held, but focus went";
    refreshKeyState(keys, held.data(), static_cast<int>(held.size()));
    EXPECT_FALSE(readKey(keys, scanLeft)) << "presents without focus change nothing";

    noteFocusChange(keys, true);
    EXPECT_FALSE(readKey(keys, scanLeft)) << "up until the next present with focus";
    refreshKeyState(keys, held.data(), static_cast<int>(held.size()));
    EXPECT_TRUE(readKey(keys, scanLeft));

    held[SDL_SCANCODE_KP_4] = 0;
    refreshKeyState(keys, held.data(), static_cast<int>(held.size()));
    EXPECT_FALSE(readKey(keys, scanLeft)) << "released";
}

TEST(KeyState, APressStaysPendingUntilItsKeyIsReadOnceThenClears) {
    std::vector<unsigned char> held(SDL_NUM_SCANCODES, 0);
    const int count = static_cast<int>(held.size());
    KeyState keys;
    noteFocusChange(keys, true);

    // Tapped between two presents and not read for several: still there,
    // reading another key does not take it, and its own read takes it once.
    notePress(keys, pcScanCodeFor(keys.layout, SDL_SCANCODE_W));
    for (int present = 0; present < 5; ++present) refreshKeyState(keys, held.data(), count);
    EXPECT_FALSE(readKey(keys, scanDown));
    EXPECT_TRUE(readKey(keys, scanUp));
    EXPECT_FALSE(readKey(keys, scanUp)) << "a tap counts once";

    // Pressed and still held: the read takes the press, the hold stays.
    held[SDL_SCANCODE_RIGHT] = 1;
    notePress(keys, scanRight);
    refreshKeyState(keys, held.data(), count);
    EXPECT_TRUE(readKey(keys, scanRight));
    held[SDL_SCANCODE_RIGHT] = 0;
    refreshKeyState(keys, held.data(), count);
    EXPECT_FALSE(readKey(keys, scanRight)) << "let go after its press was read";

    // A held pad key lasts until the next refresh, which starts from the keyboard.
    addHeldKey(keys, scanLeft);
    EXPECT_TRUE(readKey(keys, scanLeft));
    refreshKeyState(keys, held.data(), count);
    EXPECT_FALSE(readKey(keys, scanLeft));

    // A change of state drops presses not read yet, never held keys.
    held[SDL_SCANCODE_SPACE] = 1;
    refreshKeyState(keys, held.data(), count);
    notePress(keys, scanP);
    notePress(keys, scanSpace);
    dropPendingPresses(keys);
    EXPECT_FALSE(readKey(keys, scanP));
    EXPECT_TRUE(readKey(keys, scanSpace));
    held[SDL_SCANCODE_SPACE] = 0;

    // A tap just before focus goes does not come back with the focus.
    notePress(keys, scanEscape);
    noteFocusChange(keys, false);
    notePress(keys, scanRight);
    addHeldKey(keys, scanDown);
    noteFocusChange(keys, true);
    refreshKeyState(keys, held.data(), count);
    EXPECT_FALSE(readKey(keys, scanEscape));
    EXPECT_FALSE(readKey(keys, scanRight)) << "pressed while another window had the focus";
    EXPECT_FALSE(readKey(keys, scanDown));
}

TEST(KeyState, CodesOutsideTheTableReadAsUp) {
    KeyState keys;
    keys.held.fill(true);
    keys.pending.fill(true);
    EXPECT_FALSE(readKey(keys, 128));
    EXPECT_FALSE(readKey(keys, 255));
    EXPECT_FALSE(readKey(keys, -1));
    EXPECT_TRUE(readKey(keys, 127));
}

}  // namespace
