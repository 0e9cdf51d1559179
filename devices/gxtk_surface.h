// gxtkSurface: one picture known to the graphics device. Its pixels
// (premultiplied by alpha) wait in memory until the first Bind under an OpenGL
// context makes its texture from them; then they are freed, since the context
// lasts as long as the window (the switch to and from full screen keeps it).
#pragma once

#include <GL/gl.h>

#include "runtime/runtime.h"

class gxtkSurface : public Object {
public:
    // Rows top first, no gaps; C allocator. Null once the texture holds them.
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    int depth = 0;   // bytes per pixel, 1 to 4
    int format = 0;  // the OpenGL format of `depth`, 0 for any other depth
    int contextSeq = -1;  // glfwGraphicsSeq when `texture` was made; -1 for none
    GLuint texture = 0;
    float uScale = 0;  // 1 / texture width in texels
    float vScale = 0;  // 1 / texture height in texels

    ~gxtkSurface() override;

    virtual int Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int Loaded() { return 1; }
    virtual int OnUnsafeLoadComplete();

    // Takes ownership of `data` (may be null) and premultiplies it by alpha.
    void SetData(unsigned char* data, int width, int height, int depth);
    // Overwrites a rectangle of an RGBA surface with 0xAARRGGBB pixels, read
    // `pitch` ints apart per row: into its texture when it has one, else into
    // the pixels its texture will be made from. Other formats, and rectangles
    // that do not lie wholly inside the surface, are ignored.
    void SetSubData(int x, int y, int w, int h, const unsigned* src, int pitch);
    // Makes the texture current, creating it under the current context first
    // when needed (from the waiting pixels, which it then frees; a surface
    // whose pixels went into an earlier context's texture comes back with
    // undefined content). Does nothing before the first window exists.
    void Bind();
    // Whether the texture belongs to the current OpenGL context.
    bool HasCurrentTexture() const;

private:
    void CreateTexture();
    void StoreRows(int x, int y, int w, int h, const unsigned* src, int pitch);
    void UploadRows(int x, int y, int w, int h, const unsigned* src, int pitch);
};
