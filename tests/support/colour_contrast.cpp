#include "support/colour_contrast.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr Matrix identity{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};
constexpr Matrix protanopia{
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix deuteranopia{
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix tritanopia{
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};

const Matrix& matrixFor(Vision vision) {
    switch (vision) {
    case Vision::protanopia: return protanopia;
    case Vision::deuteranopia: return deuteranopia;
    case Vision::tritanopia: return tritanopia;
    case Vision::normal: break;
    }
    return identity;
}

double row(const std::array<double, 3>& m, LinearColour c) {
    return std::clamp(m[0] * c.r + m[1] * c.g + m[2] * c.b, 0.0, 1.0);
}

}  // namespace

const char* visionName(Vision vision) {
    switch (vision) {
    case Vision::protanopia: return "protanopia";
    case Vision::deuteranopia: return "deuteranopia";
    case Vision::tritanopia: return "tritanopia";
    case Vision::normal: break;
    }
    return "normal";
}

double linearFromByte(std::uint8_t srgb) {
    const double v = srgb / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

LinearColour simulateVision(LinearColour colour, Vision vision) {
    const Matrix& m = matrixFor(vision);
    return {row(m[0], colour), row(m[1], colour), row(m[2], colour)};
}

double luminance(LinearColour c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }

double contrastRatio(LinearColour a, LinearColour b, Vision vision) {
    const double la = luminance(simulateVision(a, vision));
    const double lb = luminance(simulateVision(b, vision));
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void addPixel(ColourMean& mean, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    mean.r += linearFromByte(r);
    mean.g += linearFromByte(g);
    mean.b += linearFromByte(b);
    ++mean.count;
}

LinearColour meanColour(const ColourMean& mean) {
    if (mean.count == 0) return {};
    const double n = static_cast<double>(mean.count);
    return {mean.r / n, mean.g / n, mean.b / n};
}

std::vector<ContrastRow> contrastTable(const std::vector<std::pair<std::string, LinearColour>>& things,
                                       LinearColour grass) {
    std::vector<ContrastRow> rows;
    for (const auto& [name, colour] : things) {
        ContrastRow row{name, {}};
        for (std::size_t v = 0; v < everyVision.size(); ++v)
            row.ratios[v] = contrastRatio(colour, grass, everyVision[v]);
        rows.push_back(row);
    }
    return rows;
}

std::string formatContrastTable(const std::string& title, const std::vector<ContrastRow>& rows) {
    std::ostringstream text;
    text << title << "\n  " << std::left << std::setw(8) << "vs grass" << std::right << std::setw(9) << "normal"
         << std::setw(12) << "protanopia" << std::setw(14) << "deuteranopia" << std::setw(11) << "tritanopia"
         << "\n";
    text << std::fixed << std::setprecision(2);
    for (const ContrastRow& row : rows) {
        text << "  " << std::left << std::setw(8) << row.thing << std::right << std::setw(9) << row.ratios[0]
             << std::setw(12) << row.ratios[1] << std::setw(14) << row.ratios[2] << std::setw(11) << row.ratios[3]
             << "\n";
    }
    return text.str();
}
