#include "render/texture_images.h"

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

void drawBodyDisc(SoftwareImage& image) { fillDisc(image, 32, 32, 30, bodyRed); }

int randomBelow(int range) { return static_cast<int>(std::floor(range * nextRandom())); }

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

SoftwareImage makeBodyImage() {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, transparentColor);
    drawBodyDisc(image);
    return image;
}

SoftwareImage makeHeadImage() {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, transparentColor);
    drawBodyDisc(image);
    fillDisc(image, 48, 16, 7, whiteColor);
    fillDisc(image, 48, 48, 7, whiteColor);
    fillDisc(image, 48, 16, 4, blackColor);
    fillDisc(image, 48, 48, 4, blackColor);
    return image;
}

SoftwareImage makeTileImage(bool blurred) {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, blackColor);
    for (int y = 0; y < smallImageSize; ++y)
        for (int x = 0; x < smallImageSize; ++x) {
            const std::uint32_t grey = 64 + randomBelow(64);
            setPixel(image, x, y, 0xFF000000u + grey * 0x010101u);
        }
    // Four courses of stones; the top row and left column are joints too, so
    // tiles laid side by side show a joint on every side.
    drawLine(image, 0, 0, 64, 0, jointColor);
    drawLine(image, 0, 0, 0, 64, jointColor);
    drawLine(image, 0, 16, 64, 16, jointColor);
    drawLine(image, 0, 32, 64, 32, jointColor);
    drawLine(image, 0, 48, 64, 48, jointColor);
    drawLine(image, 16, 0, 16, 16, jointColor);
    drawLine(image, 48, 16, 48, 32, jointColor);
    drawLine(image, 16, 32, 16, 48, jointColor);
    drawLine(image, 32, 48, 32, 64, jointColor);
    if (blurred) blurImage(image, image, 1);
    return image;
}

SoftwareImage makeBackgroundImage() {
    SoftwareImage image = createImage(smallImageSize, smallImageSize, blackColor);
    for (int y = 0; y < smallImageSize; ++y)
        for (int x = 0; x < smallImageSize; ++x) {
            const std::uint32_t green = 32 + randomBelow(32);
            setPixel(image, x, y, 0xFF000000u + green * 0x100u);
        }
    blurImage(image, image, 1);
    // Mirrored so the texture joins itself seamlessly left to right.
    for (int y = 0; y < smallImageSize; ++y)
        for (int x = 0; x < smallImageSize / 2; ++x) setPixel(image, smallImageSize - 1 - x, y, getPixel(image, x, y));
    return image;
}

void makeTextureImages(TextureImages& images) {
    images[fontSlot] = makeFontImage();
    images[bodySlot] = makeBodyImage();
    images[headSlot] = makeHeadImage();
    images[tileSlot] = makeTileImage(true);
    images[backgroundSlot] = makeBackgroundImage();
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
