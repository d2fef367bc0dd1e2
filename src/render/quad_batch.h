#pragma once
#include <array>
#include <cstddef>

// Textured squares placed on the CPU and drawn as one vertex array, in the
// order they were added. Every square shows the whole bound texture, (0, 0) at
// its lower-left corner before any turn. A fixed size, so a frame never
// touches the heap; a full batch is drawn and emptied on the spot.
struct QuadBatch {
    static constexpr std::size_t capacity = 256;
    std::array<float, capacity * 8> corners;  // x, y of four corners per square
    std::size_t count = 0;
};

// Points the vertex and texture-coordinate arrays at the batch; ends with
// endQuads, which draws what is left and switches the arrays off again.
void beginQuads(QuadBatch& batch);
void endQuads(QuadBatch& batch);

// Draws what has been added so far, before the texture or any state changes.
void drawQuads(QuadBatch& batch);

void addQuad(QuadBatch& batch, float left, float bottom, float right, float top);

// A square of half-side r centred on (x, y), its corners taken through the
// 2 x 2 matrix (a b; c d) first: a scale or a turn.
void addTransformedQuad(QuadBatch& batch, float x, float y, float r, float a, float b, float c, float d);
