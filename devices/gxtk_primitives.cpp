// The device's primitives: each reserves its vertices in the batch and writes
// the transformed positions, the packed colour and, for textured ones, the
// texture coordinates.
#include <cmath>

#include "devices/gxtk_graphics.h"

namespace {

constexpr int kMinOvalSegments = 12;
constexpr float kTwoPi = 6.2831855f;

// Texture coordinates come from the surface's scales, which are only known
// once its texture exists under the current context; a surface that has none
// yet gets it now rather than at the flush, after its vertices are written.
void PrepareTexture(gxtkSurface* surface) {
    if (!surface->HasCurrentTexture()) surface->Bind();
}

}  // namespace

void gxtkGraphics::Put(Vertex* vertex, float x, float y) {
    if (transformed) {
        vertex->x = a * x + c * y + tx;
        vertex->y = b * x + d * y + ty;
    } else {
        vertex->x = x;
        vertex->y = y;
    }
    vertex->color = color;
}

void gxtkGraphics::PutTextured(Vertex* vertex, float x, float y, float u, float v) {
    Put(vertex, x, y);
    vertex->u = u;
    vertex->v = v;
}

// The four corners of a textured rectangle from (left, top) to (right,
// bottom), clockwise from the top left, each as PutTextured would write it.
void gxtkGraphics::PutQuad(Vertex* v, float left, float top, float right, float bottom, float uLeft, float vTop,
                           float uRight, float vBottom) {
    if (transformed) {
        v[0] = {a * left + c * top + tx, b * left + d * top + ty, uLeft, vTop, color};
        v[1] = {a * right + c * top + tx, b * right + d * top + ty, uRight, vTop, color};
        v[2] = {a * right + c * bottom + tx, b * right + d * bottom + ty, uRight, vBottom, color};
        v[3] = {a * left + c * bottom + tx, b * left + d * bottom + ty, uLeft, vBottom, color};
    } else {
        v[0] = {left, top, uLeft, vTop, color};
        v[1] = {right, top, uRight, vTop, color};
        v[2] = {right, bottom, uRight, vBottom, color};
        v[3] = {left, bottom, uLeft, vBottom, color};
    }
}

int gxtkGraphics::DrawPoint(float x, float y) {
    Put(Begin(1, 1, nullptr), x, y);
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    Vertex* v = Begin(2, 2, nullptr);
    Put(v, x1, y1);
    Put(v + 1, x2, y2);
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    Vertex* v = Begin(4, 4, nullptr);
    Put(v, x, y);
    Put(v + 1, x + w, y);
    Put(v + 2, x + w, y + h);
    Put(v + 3, x, y + h);
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface) return 0;
    PrepareTexture(surface);
    const float w = static_cast<float>(surface->Width());
    const float h = static_cast<float>(surface->Height());
    const float right = w * surface->uScale;
    const float bottom = h * surface->vScale;
    PutQuad(Begin(4, 4, surface), x, y, x + w, y + h, 0, 0, right, bottom);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                               int srch) {
    if (!surface) return 0;
    PrepareTexture(surface);
    const float left = srcx * surface->uScale;
    const float right = (srcx + srcw) * surface->uScale;
    const float top = srcy * surface->vScale;
    const float bottom = (srcy + srch) * surface->vScale;
    const float w = static_cast<float>(srcw);
    const float h = static_cast<float>(srch);
    PutQuad(Begin(4, 4, surface), x, y, x + w, y + h, left, top, right, bottom);
    return 0;
}

// One vertex per (x, y) pair; 1 vertex is a point, 2 a line, 3 a triangle,
// 4 a quad, more a fan. An odd trailing float is ignored.
int gxtkGraphics::DrawPoly(Array<float> verts) {
    const int n = verts.Length() / 2;
    if (n < 1 || n > kMaxPrimitiveVertices) return 0;
    Vertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) Put(v + i, verts[2 * i], verts[2 * i + 1]);
    return 0;
}

// Vertices of (x, y, u, v), with u and v in source pixels.
int gxtkGraphics::DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy) {
    const int n = verts.Length() / 4;
    if (n < 1 || n > kMaxPrimitiveVertices || !surface) return 0;
    PrepareTexture(surface);
    Vertex* v = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        const float* p = &verts[4 * i];
        PutTextured(v + i, p[0], p[1], (p[2] + srcx) * surface->uScale, (p[3] + srcy) * surface->vScale);
    }
    return 0;
}

// Enough segments for the on-screen size: the two radii summed, at least 12,
// at most the largest primitive, and a multiple of 4 in between. The estimate stays in
// floating point until it is known to be in range, so huge or non-finite
// sizes give the maximum rather than an undefined conversion.
int gxtkGraphics::OvalSegments(float xr, float yr) const {
    float estimate;
    if (transformed) {
        estimate = std::sqrt(xr * a * (xr * a) + xr * b * (xr * b)) +
                   std::sqrt(yr * c * (yr * c) + yr * d * (yr * d));
    } else {
        estimate = std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
    }
    if (!(estimate <= kMaxPrimitiveVertices)) return kMaxPrimitiveVertices;
    const int n = static_cast<int>(estimate);
    if (n < kMinOvalSegments) return kMinOvalSegments;
    return n / 4 * 4;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    const float xr = w * 0.5f;
    const float yr = h * 0.5f;
    const float cx = x + xr;
    const float cy = y + yr;
    const int segments = OvalSegments(xr, yr);
    Vertex* v = Begin(segments, segments, nullptr);
    for (int i = 0; i < segments; ++i) {
        const SinCos turn = SinCosOfRadians(static_cast<float>(i) * kTwoPi / static_cast<float>(segments));
        Put(v + i, cx + turn.cos * xr, cy - turn.sin * yr);
    }
    return 0;
}
