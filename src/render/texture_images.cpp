#include "render/texture_images.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "render/gl.h"

namespace {

constexpr int fontImageSize = 128;
constexpr int glyphSize = 8;
constexpr int smallImageSize = 64;

// A text screen would treat these as bell, backspace, tab, line feed and
// carriage return and print nothing in their cells.
bool isControlCode(int code) { return code == 7 || code == 8 || code == 9 || code == 10 || code == 13; }

constexpr int stoneLevels = 64;
constexpr int grassLevels = 32;
constexpr std::size_t noiseSize = static_cast<std::size_t>(smallImageSize) * smallImageSize;

void drawBodyDisc(SoftwareImage& image, const Palette& palette) { fillDisc(image, 32, 32, 30, palette.snake); }

int randomBelow(int range) { return static_cast<int>(std::floor(range * nextRandom())); }

std::vector<std::uint8_t> drawNoise(int levels) {
    std::vector<std::uint8_t> noise(noiseSize);
    for (std::uint8_t& level : noise) level = static_cast<std::uint8_t>(randomBelow(levels));
    return noise;
}

// Channel by channel from low to high; with the design's ranges one level is
// one step of each channel, so its pictures come out exactly as drawn before.
std::uint32_t noiseColour(std::uint32_t low, std::uint32_t high, int level, int levels) {
    std::uint32_t colour = 0xFF000000u;
    for (int shift : {16, 8, 0}) {
        const int from = static_cast<int>((low >> shift) & 0xFFu);
        const int to = static_cast<int>((high >> shift) & 0xFFu);
        const int value = from + (to - from) * level / (levels - 1);
        colour |= static_cast<std::uint32_t>(value) << shift;
    }
    return colour;
}

// Noise of the wrong size (never made here) reads as level 0 beyond its end.
int levelAt(const std::vector<std::uint8_t>& noise, int x, int y, int levels) {
    const std::size_t index = static_cast<std::size_t>(y) * smallImageSize + x;
    return index < noise.size() ? std::min<int>(noise[index], levels - 1) : 0;
}

// Name 0 is no texture of ours (nothing uploaded yet): left alone rather than
// filling GL's default texture.
void replaceTexture(std::uint32_t name, const SoftwareImage& image) {
    if (name == 0) return;
    glBindTexture(GL_TEXTURE_2D, name);
    const void* pixels = image.pixels.data();
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

}  // namespace

SoftwareImage makeFontImage() {
    SoftwareImage image = createImage(fontImageSize, fontImageSize, transparentColor);
    for (int code = 0; code < 256; ++code) {
        if (isControlCode(code)) continue;
        const int cellLeft = glyphSize * (code % 16);
        const int cellTop = glyphSize * (code / 16);
        for (int row = 0; row < glyphSize; ++row) {
            const unsigned bits = glyphBitmap(code)[row];
            for (int column = 0; column < glyphSize; ++column) {
                // Stored bottom row first, so t = 0 is the foot of the last cell row.
                if (bits & (0x80u >> column))
                    setPixel(image, cellLeft + column, fontImageSize - 1 - cellTop - row, whiteColor);
            }
        }
    }
    return image;
}

SoftwareImage makeBodyImage(const Palette& palette) {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, transparentColor);
    drawBodyDisc(image, palette);
    return image;
}

SoftwareImage makeHeadImage(const Palette& palette) {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, transparentColor);
    drawBodyDisc(image, palette);
    fillDisc(image, 48, 16, 7, whiteColor);
    fillDisc(image, 48, 48, 7, whiteColor);
    fillDisc(image, 48, 16, 4, blackColor);
    fillDisc(image, 48, 48, 4, blackColor);
    return image;
}

SoftwareImage makeTileImage(bool blurred) { return makeTileImage(drawNoise(stoneLevels), designPalette, blurred); }

SoftwareImage makeTileImage(const std::vector<std::uint8_t>& noise, const Palette& palette, bool blurred) {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, blackColor);
    for (int y = 0; y < smallImageSize; ++y)
        for (int x = 0; x < smallImageSize; ++x)
            setPixel(image, x, y,
                     noiseColour(palette.stoneLow, palette.stoneHigh, levelAt(noise, x, y, stoneLevels), stoneLevels));
    const std::uint32_t joint = palette.joint;
    // Four courses of stones; the top row and left column are joints too, so
    // tiles laid side by side show a joint on every side.
    drawLine(image, 0, 0, 64, 0, joint);
    drawLine(image, 0, 0, 0, 64, joint);
    drawLine(image, 0, 16, 64, 16, joint);
    drawLine(image, 0, 32, 64, 32, joint);
    drawLine(image, 0, 48, 64, 48, joint);
    drawLine(image, 16, 0, 16, 16, joint);
    drawLine(image, 48, 16, 48, 32, joint);
    drawLine(image, 16, 32, 16, 48, joint);
    drawLine(image, 32, 48, 32, 64, joint);
    if (blurred) blurImage(image, image, 1);
    return image;
}

SoftwareImage makeBackgroundImage() { return makeBackgroundImage(drawNoise(grassLevels), designPalette); }

SoftwareImage makeBackgroundImage(const std::vector<std::uint8_t>& noise, const Palette& palette) {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, blackColor);
    for (int y = 0; y < smallImageSize; ++y)
        for (int x = 0; x < smallImageSize; ++x)
            setPixel(image, x, y,
                     noiseColour(palette.grassLow, palette.grassHigh, levelAt(noise, x, y, grassLevels), grassLevels));
    blurImage(image, image, 1);
    // Mirrored so the texture joins itself seamlessly left to right.
    for (int y = 0; y < smallImageSize; ++y)
        for (int x = 0; x < smallImageSize / 2; ++x) setPixel(image, smallImageSize - 1 - x, y, getPixel(image, x, y));
    return image;
}

TextureNoise drawTextureNoise() {
    TextureNoise noise;
    noise.tile = drawNoise(stoneLevels);
    noise.background = drawNoise(grassLevels);
    return noise;
}

void makeTextureImages(TextureImages& images, const TextureNoise& noise, const Palette& palette) {
    images[fontSlot] = makeFontImage();
    images[bodySlot] = makeBodyImage(palette);
    images[headSlot] = makeHeadImage(palette);
    images[tileSlot] = makeTileImage(noise.tile, palette, true);
    images[backgroundSlot] = makeBackgroundImage(noise.background, palette);
}

void makeTextureImages(TextureImages& images) { makeTextureImages(images, drawTextureNoise(), designPalette); }

void recolourTextures(const TextureSet& textures, const TextureNoise& noise, const Palette& palette) {
    replaceTexture(textures.names[bodySlot], makeBodyImage(palette));
    replaceTexture(textures.names[headSlot], makeHeadImage(palette));
    replaceTexture(textures.names[tileSlot], makeTileImage(noise.tile, palette, true));
    replaceTexture(textures.names[backgroundSlot], makeBackgroundImage(noise.background, palette));
}

void uploadTexture(std::uint32_t& name, const SoftwareImage& image) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    name = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    // Image row 0 becomes t = 0; each pixel's bytes are B, G, R, A in memory.
    const void* pixels = image.pixels.data();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
