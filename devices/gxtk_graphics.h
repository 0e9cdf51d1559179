// gxtkGraphics: the graphics device. Every primitive becomes vertices in one
// client-side array of 8192 vertices, sent to OpenGL in batches of one
// primitive kind and one texture, so a frame of many small sprites costs few
// draw calls. Colour, alpha and the transform are applied on the processor as
// vertices are written, so changing them never breaks a batch; colours are
// premultiplied by alpha and blending assumes premultiplied colour.
#pragma once

#include <cstdint>

#include "devices/gxtk_surface.h"
#include "host/kzgame.h"
#include "runtime/runtime.h"

class gxtkGraphics : public Object {
public:
    // Room for a busy frame's 2,000 sprites in one batch.
    static constexpr int kMaxVertices = 8192;
    // The most vertices one polygon or oval may have.
    static constexpr int kMaxPrimitiveVertices = 1024;
    static constexpr int kQuadIndexCount = kMaxVertices / 4 * 6;
    static constexpr int kBlendAlpha = 0;
    static constexpr int kBlendAdditive = 1;
    static constexpr int kBlendUnknown = -1;  // before the first frame sets one

    // 20 bytes, read by OpenGL with that stride.
    struct Vertex {
        float x, y;  // window pixels, y down
        float u, v;  // written by textured primitives only
        uint32_t color;  // bytes red, green, blue, alpha in memory order
    };

    int width = 0;
    int height = 0;
    uint32_t color = 0;  // alpha << 24 | blue << 16 | green << 8 | red, premultiplied
    float red = 0, green = 0, blue = 0;  // 0-255
    float alpha = 0;                     // 0-1
    float a = 0, b = 0, c = 0, d = 0, tx = 0, ty = 0;
    bool transformed = false;
    Vertex vertices[kMaxVertices] = {};
    uint16_t quadIndices[kQuadIndexCount] = {};
    int batchMode = 0;   // 1 points, 2 lines, 3 triangles, 4 quads, m >= 5 fans of m
    int batchCount = 0;  // vertices in the open batch
    gxtkSurface* batchSurface = nullptr;
    // The blend mode OpenGL has now, so that setting it again costs nothing.
    int blendInForce = kBlendUnknown;
    KzGame* host = nullptr;

    // Pictures are read through `host`, the program's host object, given
    // once here; with none, no picture loads.
    explicit gxtkGraphics(KzGame* host);
    void mark() override;

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int BeginRender();
    virtual int EndRender();
    virtual int DiscardGraphics() { return 0; }
    virtual gxtkSurface* LoadSurface(String path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
    virtual int Cls(float r, float g, float b);
    // Whether Cls(r, g, b) leaves the same pixels as a rectangle of this
    // colour and alpha over the whole window: an opaque colour whose bytes
    // the clear's rounding reproduces (whole numbers, or saturated ones).
    static bool ClsMatchesFill(float r, float g, float b, float alpha);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int mode);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(Array<float> verts);
    virtual int DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                             int srch);
    // Reads a window rectangle, top row first, as 0xAARRGGBB ints into
    // `pixels` from `offset`, rows `pitch` apart. A rectangle that would not
    // fit the array is not read.
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    // Writes 0xAARRGGBB ints into a surface rectangle; a source that would
    // run past the array is not written.
    virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                             int offset, int pitch);

    // Reserves `count` vertices in a batch of `mode` and `surface`, flushing
    // the open batch first when they cannot join it. Returns the first one.
    Vertex* Begin(int mode, int count, gxtkSurface* surface);
    void Flush();

private:
    void PackColor();
    void Put(Vertex* vertex, float x, float y);
    void PutTextured(Vertex* vertex, float x, float y, float u, float v);
    void PutQuad(Vertex* v, float left, float top, float right, float bottom, float uLeft, float vTop,
                 float uRight, float vBottom);
    void DrawBatch();
    void ApplyBlend(int mode);
    int OvalSegments(float xr, float yr) const;
};
