#pragma once
// Luminance contrast as a player with each kind of colour vision sees it:
// colours are simulated on linear RGB with the full-severity matrices of
// Machado, Oliveira and Fernandes (2009) and compared by the WCAG ratio
// (L1 + 0.05) / (L2 + 0.05). Shared by the GL test and the screenshot tool.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct LinearColour {
    double r = 0.0, g = 0.0, b = 0.0;
};

enum class Vision { normal, protanopia, deuteranopia, tritanopia };
constexpr std::array<Vision, 4> everyVision{Vision::normal, Vision::protanopia, Vision::deuteranopia,
                                            Vision::tritanopia};
const char* visionName(Vision vision);

double linearFromByte(std::uint8_t srgb);
// Clamped to 0..1: the matrices can push a saturated colour past the gamut.
LinearColour simulateVision(LinearColour colour, Vision vision);
double luminance(LinearColour colour);
double contrastRatio(LinearColour a, LinearColour b, Vision vision);

// The mean of sRGB pixels taken on linear light.
struct ColourMean {
    double r = 0.0, g = 0.0, b = 0.0;
    long count = 0;
};
void addPixel(ColourMean& mean, std::uint8_t r, std::uint8_t g, std::uint8_t b);
LinearColour meanColour(const ColourMean& mean);

struct ContrastRow {
    std::string thing;
    std::array<double, 4> ratios{};  // in the order of everyVision
};
std::vector<ContrastRow> contrastTable(const std::vector<std::pair<std::string, LinearColour>>& things,
                                       LinearColour grass);
std::string formatContrastTable(const std::string& title, const std::vector<ContrastRow>& rows);
