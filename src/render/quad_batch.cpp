#include "render/quad_batch.h"

#include "render/gl.h"

namespace {

// Every square carries the same four texture corners.
constexpr std::array<float, QuadBatch::capacity* 8> textureCorners = [] {
    std::array<float, QuadBatch::capacity * 8> corners{};
    constexpr float one[8] = {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f};
    for (std::size_t i = 0; i < corners.size(); ++i) corners[i] = one[i % 8];
    return corners;
}();

float* nextCorners(QuadBatch& batch) {
    if (batch.count == QuadBatch::capacity) drawQuads(batch);
    return batch.corners.data() + 8 * batch.count++;
}

}  // namespace

void beginQuads(QuadBatch& batch) {
    batch.count = 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, batch.corners.data());
    glTexCoordPointer(2, GL_FLOAT, 0, textureCorners.data());
}

void endQuads(QuadBatch& batch) {
    drawQuads(batch);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawQuads(QuadBatch& batch) {
    if (batch.count == 0) return;
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(4 * batch.count));
    batch.count = 0;
}

void addQuad(QuadBatch& batch, float left, float bottom, float right, float top) {
    float* p = nextCorners(batch);
    p[0] = left, p[1] = top;
    p[2] = left, p[3] = bottom;
    p[4] = right, p[5] = bottom;
    p[6] = right, p[7] = top;
}

void addTransformedQuad(QuadBatch& batch, float x, float y, float r, float a, float b, float c, float d) {
    float* p = nextCorners(batch);
    const float corners[8] = {-r, r, -r, -r, r, -r, r, r};
    for (int k = 0; k < 8; k += 2) {
        p[k] = x + (a * corners[k] + b * corners[k + 1]);
        p[k + 1] = y + (c * corners[k] + d * corners[k + 1]);
    }
}
