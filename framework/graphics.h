// The graphics module: images made of frames, the drawing state (colour,
// alpha, blend mode, scissor) and a 2D transform with a push/pop stack, kept
// in one context and forwarded to the graphics device. The transform reaches
// the device only when something is drawn after it changed.
#pragma once

#include "devices/gxtk_graphics.h"
#include "runtime/runtime.h"

// Bits of c_Image::m_flags.
constexpr int kImageCenterHandle = 1;   // handle at the frame centre (cleared once applied)
constexpr int kImagePadX = 2;           // frames have a one-pixel border left and right
constexpr int kImagePadY = 4;           // frames have a one-pixel border top and bottom
constexpr int kImageWholeSurface = 65536;  // one frame that is exactly the surface

class c_Frame : public Object {
public:
    int m_x = 0;  // top-left corner in surface pixels
    int m_y = 0;

    c_Frame* m_new(int x, int y);
};

class c_Image : public Object {
public:
    gxtkSurface* m_surface = nullptr;
    int m_width = 0;   // frame size without padding borders
    int m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_handleX = 0;  // the frame point placed at the drawing position
    float m_handleY = 0;
    c_Image* m_source = nullptr;  // kept alive only

    static int m_DefaultFlags;

    c_Image* m_new() { return this; }
    void mark() override;

    // One row of frames across the surface. A frame count below 1 gives an
    // image with no frames (which draws nothing).
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    // A grid of frames filling rows of the source rectangle from (x, y); ends
    // the program with "Image frame outside surface" when they do not fit.
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight,
                     int frameCount, int flags, c_Image* source, int srcx, int srcy, int srcw,
                     int srch);
    int p_ApplyFlags(int flags);
    int p_SetHandle(float x, float y);
};

class c_GraphicsContext : public Object {
public:
    static constexpr int kInitialStackFloats = 192;  // 32 transforms

    c_Image* m_defaultFont = nullptr;
    c_Image* m_font = nullptr;
    int m_firstChar = 0;
    int m_matrixSp = 0;  // floats in use in m_matrixStack, 6 per transform
    float m_a = 1, m_b = 0, m_c = 0, m_d = 1, m_tx = 0, m_ty = 0;
    int m_transformed = 0;
    int m_matrixDirty = 0;  // the device does not have the current transform yet
    float m_red = 0, m_green = 0, m_blue = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorWidth = 0, m_scissorHeight = 0;
    Array<float> m_matrixStack;

    c_GraphicsContext* m_new();
    void mark() override;

    // Hands the current transform to the render device if it changed.
    int p_Validate();
};

extern gxtkGraphics* kz_graphics_device;
extern c_GraphicsContext* kz_graphics_context;
// The device between kz_graphics_BeginRender and kz_graphics_EndRender, else null.
extern gxtkGraphics* kz_graphics_renderDevice;

// Gives the module's globals their start values and registers them as roots.
void kz_graphics_InitGlobals();

int kz_graphics_SetGraphicsDevice(gxtkGraphics* device);
// Null when the file cannot be loaded or decoded.
c_Image* kz_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* kz_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags);
// The image files a loader will load next, in its order: the host may begin
// decoding them now, so that loading them later costs only the upload.
int kz_graphics_DecodeImagesAhead(Array<String> paths);
// A null font selects the default font "vyro_font.png", loaded on first use.
int kz_graphics_SetFont(c_Image* font, int firstChar);

int kz_graphics_BeginRender();
int kz_graphics_EndRender();

// Valid only while rendering.
// Clears the window to the colour (0-255 each), outside the batch.
int kz_graphics_Cls(float r, float g, float b);
int kz_graphics_SetColor(float r, float g, float b);
int kz_graphics_SetAlpha(float alpha);
int kz_graphics_SetBlend(int blend);
int kz_graphics_SetScissor(float x, float y, float width, float height);
int kz_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
// The array forms ignore arrays of fewer than six values.
int kz_graphics_SetMatrix2(Array<float> m);
int kz_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int kz_graphics_Transform2(Array<float> m);
int kz_graphics_Translate(float x, float y);
int kz_graphics_Scale(float x, float y);
int kz_graphics_Rotate(float angle);  // degrees
int kz_graphics_PushMatrix();
// A pop with nothing saved leaves the transform as it is.
int kz_graphics_PopMatrix();

int kz_graphics_DrawRect(float x, float y, float w, float h);
int kz_graphics_DrawLine(float x1, float y1, float x2, float y2);
int kz_graphics_DrawEllipse(float x, float y, float xr, float yr);
// A null image or a frame number outside the image's frames draws nothing.
int kz_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int kz_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);
