// The graphics module's context: drawing state, the transform and its stack,
// and the drawing calls forwarded to the render device.
#include "framework/graphics.h"

#include <cmath>

#include "framework/app.h"

namespace {

void MarkGlobals() {
    gc_mark_q(kz_graphics_device);
    gc_mark_q(kz_graphics_context);
    gc_mark_q(kz_graphics_renderDevice);
}

c_GraphicsContext& Context() { return *kz_graphics_context; }

// Whether DrawFrame can draw this frame number. Whole-surface images do not
// read their frame, so any number draws them.
bool HasDrawableFrame(c_Image* image, int frame) {
    if (!image) return false;
    if (image->m_flags & kImageWholeSurface) return true;
    return frame >= 0 && frame < image->m_frames.Length();
}

void DrawFrame(c_Image* image, float x, float y, int frame) {
    if (image->m_flags & kImageWholeSurface) {
        kz_graphics_renderDevice->DrawSurface(image->m_surface, x, y);
        return;
    }
    const c_Frame* f = image->m_frames[frame];
    kz_graphics_renderDevice->DrawSurface2(image->m_surface, x, y, f->m_x, f->m_y, image->m_width,
                                           image->m_height);
}

// A 2D transform: x' = a x + c y + tx, y' = b x + d y + ty.
struct Affine {
    float a, b, c, d, tx, ty;
};

// The transform (a, b, c, d, tx, ty) applied to points first, then `k`.
Affine Compose(const Affine& k, float a, float b, float c, float d, float tx, float ty) {
    return {a * k.a + b * k.c, a * k.b + b * k.d, c * k.a + d * k.c, c * k.b + d * k.d,
            tx * k.a + ty * k.c + k.tx, tx * k.b + ty * k.d + k.ty};
}

Affine CurrentTransform() {
    const c_GraphicsContext& k = Context();
    return {k.m_a, k.m_b, k.m_c, k.m_d, k.m_tx, k.m_ty};
}

// Sprites and the glyphs of a line of text mostly share one angle, so the
// last angle's sine and cosine are kept (the results are identical).
const SinCos& TurnOfDegrees(float angle) {
    static float last_angle = 0.0f;
    static SinCos last = SinCosOfDegrees(0.0f);
    if (angle != last_angle || std::signbit(angle) != std::signbit(last_angle)) {
        last = SinCosOfDegrees(angle);
        last_angle = angle;
    }
    return last;
}

}  // namespace

gxtkGraphics* kz_graphics_device = nullptr;
c_GraphicsContext* kz_graphics_context = nullptr;
gxtkGraphics* kz_graphics_renderDevice = nullptr;

void kz_graphics_InitGlobals() {
    gc_add_roots(MarkGlobals);  // registering again is harmless: root sets are kept once
    kz_graphics_device = nullptr;
    gc_assign(kz_graphics_context, (new c_GraphicsContext())->m_new());
    c_Image::m_DefaultFlags = 0;
    kz_graphics_renderDevice = nullptr;
}

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(m_matrixStack, Array<float>(kInitialStackFloats));
    return this;
}

void c_GraphicsContext::mark() {
    gc_mark_q(m_defaultFont);
    gc_mark_q(m_font);
    gc_mark_q(m_matrixStack);
}

int c_GraphicsContext::p_Validate() {
    if (m_matrixDirty) {
        kz_graphics_renderDevice->SetMatrix(m_a, m_b, m_c, m_d, m_tx, m_ty);
        m_matrixDirty = 0;
    }
    return 0;
}

int kz_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    gc_assign(kz_graphics_device, device);
    return 0;
}

int kz_graphics_BeginRender() {
    gc_assign(kz_graphics_renderDevice, kz_graphics_device);
    c_GraphicsContext& context = Context();
    context.m_matrixSp = 0;
    kz_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kz_graphics_SetColor(255, 255, 255);
    kz_graphics_SetAlpha(1);
    kz_graphics_SetBlend(0);
    kz_graphics_SetScissor(0, 0, static_cast<float>(kz_app__devWidth), static_cast<float>(kz_app__devHeight));
    return 0;
}

int kz_graphics_EndRender() {
    kz_graphics_renderDevice = nullptr;
    return 0;
}

int kz_graphics_Cls(float r, float g, float b) {
    kz_graphics_renderDevice->Cls(r, g, b);
    return 0;
}

int kz_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext& context = Context();
    context.m_red = r;
    context.m_green = g;
    context.m_blue = b;
    kz_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int kz_graphics_SetAlpha(float alpha) {
    Context().m_alpha = alpha;
    kz_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int kz_graphics_SetBlend(int blend) {
    Context().m_blend = blend;
    kz_graphics_renderDevice->SetBlend(blend);
    return 0;
}

int kz_graphics_SetScissor(float x, float y, float width, float height) {
    c_GraphicsContext& context = Context();
    context.m_scissorX = x;
    context.m_scissorY = y;
    context.m_scissorWidth = width;
    context.m_scissorHeight = height;
    kz_graphics_renderDevice->SetScissor(TruncToInt(x), TruncToInt(y), TruncToInt(width), TruncToInt(height));
    return 0;
}

int kz_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext& context = Context();
    context.m_a = a;
    context.m_b = b;
    context.m_c = c;
    context.m_d = d;
    context.m_tx = tx;
    context.m_ty = ty;
    context.m_transformed = a != 1 || b != 0 || c != 0 || d != 1 || tx != 0 || ty != 0;
    context.m_matrixDirty = 1;
    return 0;
}

int kz_graphics_SetMatrix2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return kz_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

// The given transform applies to points first, the current one after.
int kz_graphics_Transform(float a, float b, float c, float d, float tx, float ty) {
    const Affine m = Compose(CurrentTransform(), a, b, c, d, tx, ty);
    return kz_graphics_SetMatrix(m.a, m.b, m.c, m.d, m.tx, m.ty);
}

int kz_graphics_Transform2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return kz_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int kz_graphics_Translate(float x, float y) { return kz_graphics_Transform(1, 0, 0, 1, x, y); }

int kz_graphics_Scale(float x, float y) { return kz_graphics_Transform(x, 0, 0, y, 0, 0); }

int kz_graphics_Rotate(float angle) {
    const SinCos& turn = TurnOfDegrees(angle);
    return kz_graphics_Transform(turn.cos, -turn.sin, turn.sin, turn.cos, 0, 0);
}

// The stack doubles when full and never shrinks.
int kz_graphics_PushMatrix() {
    c_GraphicsContext& context = Context();
    Array<float>& stack = context.m_matrixStack;
    if (context.m_matrixSp == stack.Length()) {
        Array<float> grown(stack.Length() * 2);
        for (int i = 0; i < stack.Length(); ++i) grown[i] = stack[i];
        gc_assign(stack, grown);
    }
    float* top = &stack[context.m_matrixSp];
    top[0] = context.m_a;
    top[1] = context.m_b;
    top[2] = context.m_c;
    top[3] = context.m_d;
    top[4] = context.m_tx;
    top[5] = context.m_ty;
    context.m_matrixSp += 6;
    return 0;
}

int kz_graphics_PopMatrix() {
    c_GraphicsContext& context = Context();
    if (context.m_matrixSp < 6) return 0;
    context.m_matrixSp -= 6;
    const float* top = &context.m_matrixStack[context.m_matrixSp];
    return kz_graphics_SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}

int kz_graphics_DrawRect(float x, float y, float w, float h) {
    Context().p_Validate();
    kz_graphics_renderDevice->DrawRect(x, y, w, h);
    return 0;
}

int kz_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    Context().p_Validate();
    kz_graphics_renderDevice->DrawLine(x1, y1, x2, y2);
    return 0;
}

int kz_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    Context().p_Validate();
    kz_graphics_renderDevice->DrawOval(x - xr, y - yr, xr * 2, yr * 2);
    return 0;
}

int kz_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    if (!HasDrawableFrame(image, frame)) return 0;
    Context().p_Validate();
    DrawFrame(image, x - image->m_handleX, y - image->m_handleY, frame);
    return 0;
}

// The image turns and scales about its handle, which lands on (x, y): the
// products of pushing the transform, translating, rotating, scaling,
// translating by the handle and popping, computed without touching the
// context's transform. The device is left holding the sprite's transform, so
// the context's own goes to it again before the next drawing.
int kz_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
    if (!HasDrawableFrame(image, frame)) return 0;
    const SinCos& turn = TurnOfDegrees(rotation);
    Affine m = Compose(CurrentTransform(), 1, 0, 0, 1, x, y);
    m = Compose(m, turn.cos, -turn.sin, turn.sin, turn.cos, 0, 0);
    m = Compose(m, scaleX, 0, 0, scaleY, 0, 0);
    m = Compose(m, 1, 0, 0, 1, -image->m_handleX, -image->m_handleY);
    kz_graphics_renderDevice->SetMatrix(m.a, m.b, m.c, m.d, m.tx, m.ty);
    Context().m_matrixDirty = 1;
    DrawFrame(image, 0, 0, frame);
    return 0;
}
