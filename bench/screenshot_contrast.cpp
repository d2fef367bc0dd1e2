// Reads a screenshot of a game at its start (binary PPM on standard input) and
// prints the contrast table of the snake and the stones against the grass
// round the head, as seen on the lit drum, for normal vision and the three
// simulations. The snake is found by its warmth (red or yellow), the
// grass by its green, the stones as the grey pixels of the drum's lower rim.
//
//   convert shot.png ppm:- | ./build/bench/screenshot_contrast
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "support/colour_contrast.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

bool readPpm(std::istream& in, Picture& picture) {
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    if (!in || magic != "P6" || maximum != 255 || picture.width <= 0 || picture.height <= 0 || picture.width > 16384 ||
        picture.height > 16384)
        return false;
    in.get();
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return static_cast<std::size_t>(in.gcount()) == picture.rgb.size();
}

// Red well above green, or yellow: red at least green and green well above blue.
bool isWarm(const std::uint8_t* p) { return p[0] > 60 && p[0] >= p[1] && (p[0] > p[1] + 24 || p[1] > p[2] + 60); }
bool isGrass(const std::uint8_t* p) { return p[1] > p[0] + 8 && p[1] > p[2] + 8; }
bool isGrey(const std::uint8_t* p) {
    const int high = std::max({p[0], p[1], p[2]});
    const int low = std::min({p[0], p[1], p[2]});
    return high - low <= 24 && high >= 50;
}

}  // namespace

int main() {
    Picture picture;
    if (!readPpm(std::cin, picture)) {
        std::cerr << "screenshot_contrast: standard input is not a binary PPM with 8-bit channels\n";
        return 1;
    }
    double sumX = 0.0, sumY = 0.0;
    long warm = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (isWarm(picture.at(x, y))) {
                sumX += x;
                sumY += y;
                ++warm;
            }
    if (warm == 0) {
        std::cerr << "screenshot_contrast: no snake in the picture\n";
        return 1;
    }
    const double headX = sumX / static_cast<double>(warm);
    const double headY = sumY / static_cast<double>(warm);
    ColourMean snake, grass, stones;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.at(x, y);
            const double distance = std::hypot(x - headX, y - headY);
            if (distance <= 40.0 && isWarm(p))
                addPixel(snake, p[0], p[1], p[2]);
            else if (distance > 40.0 && distance <= 150.0 && isGrass(p))
                addPixel(grass, p[0], p[1], p[2]);
            else if (y > picture.height * 17 / 20 && isGrey(p))
                addPixel(stones, p[0], p[1], p[2]);
        }
    std::cout << "snake " << snake.count << ", grass " << grass.count << ", stone pixels " << stones.count
              << "; head near (" << std::lround(headX) << ", " << std::lround(headY) << ")\n";
    const auto rows = contrastTable({{"snake", meanColour(snake)}, {"stones", meanColour(stones)}}, meanColour(grass));
    std::cout << formatContrastTable("Screenshot, mean linear colours:", rows);
    return 0;
}
