// Images: frames cut from a surface, loading from files, and the font.
#include <cstdio>
#include <string>

#include "framework/graphics.h"
#include "host/files.h"

namespace {

const char kDefaultFontPath[] = "vyro_font.png";
constexpr int kDefaultFontFrames = 96;
constexpr int kDefaultFontFirstChar = 32;

// The file whose frames are being cut, named on standard error when they do
// not fit; empty for a surface of no file.
String g_picture_being_cut;

[[noreturn]] void FrameOutsideSurface() {
    if (g_picture_being_cut.Length() > 0) {
        std::string name;
        g_picture_being_cut.AppendUtf8(name);
        std::fprintf(stderr, "Image frame outside surface: %s\n", name.c_str());
    }
    kzError(String("Image frame outside surface"));
}

gxtkSurface* LoadSurface(String path) {
    if (!kz_graphics_device) return nullptr;
    return kz_graphics_device->LoadSurface(kz_data_FixDataPath(path));
}

}  // namespace

int c_Image::m_DefaultFlags = 0;

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

void c_Image::mark() {
    gc_mark_q(m_surface);
    gc_mark_q(m_frames);
    gc_mark_q(m_source);
}

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    gc_assign(m_surface, surface);
    const int frames = frameCount > 0 ? frameCount : 0;
    m_width = frames > 0 ? surface->Width() / frames : 0;
    m_height = surface->Height();
    gc_assign(m_frames, Array<c_Frame*>(frames));
    for (int i = 0; i < frames; ++i) gc_assign(m_frames[i], (new c_Frame())->m_new(i * m_width, 0));
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight,
                          int frameCount, int flags, c_Image* source, int srcx, int srcy, int srcw,
                          int srch) {
    gc_assign(m_surface, surface);
    gc_assign(m_source, source);
    m_width = frameWidth;
    m_height = frameHeight;
    gc_assign(m_frames, Array<c_Frame*>(frameCount));
    int ix = x;
    int iy = y;
    for (int i = 0; i < m_frames.Length(); ++i) {
        if (ix + m_width > srcw) {
            iy += m_height;
            ix = 0;
            if (m_width > srcw) FrameOutsideSurface();
        }
        if (iy + m_height > srch) FrameOutsideSurface();
        gc_assign(m_frames[i], (new c_Frame())->m_new(ix + srcx, iy + srcy));
        ix += m_width;
    }
    p_ApplyFlags(flags);
    return this;
}

int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (m_flags & kImagePadX) {
        for (c_Frame* frame : m_frames) frame->m_x += 1;
        m_width -= 2;
    }
    if (m_flags & kImagePadY) {
        for (c_Frame* frame : m_frames) frame->m_y += 1;
        m_height -= 2;
    }
    if (m_flags & kImageCenterHandle) p_SetHandle(m_width * 0.5f, m_height * 0.5f);
    if (m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= kImageWholeSurface;
    }
    return 0;
}

int c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~kImageCenterHandle;
    return 0;
}

c_Image* kz_graphics_LoadImage(String path, int frameCount, int flags) {
    gxtkSurface* surface = LoadSurface(path);
    if (!surface) return nullptr;
    return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}

int kz_graphics_DecodeImagesAhead(Array<String> paths) {
    if (kz_graphics_device && kz_graphics_device->host) {
        kz_graphics_device->host->DecodeImagesAhead(kz_data_FixDataPaths(paths));
    }
    return 0;
}

c_Image* kz_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
    gxtkSurface* surface = LoadSurface(path);
    if (!surface) return nullptr;
    g_picture_being_cut = path;
    c_Image* image = (new c_Image())->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags,
                                                       nullptr, 0, 0, surface->Width(), surface->Height());
    g_picture_being_cut = String();
    return image;
}

int kz_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext& context = *kz_graphics_context;
    if (!font) {
        if (!context.m_defaultFont) {
            gc_assign(context.m_defaultFont,
                      kz_graphics_LoadImage(String(kDefaultFontPath), kDefaultFontFrames, kImagePadX));
        }
        font = context.m_defaultFont;
        firstChar = kDefaultFontFirstChar;
    }
    gc_assign(context.m_font, font);
    context.m_firstChar = firstChar;
    return 0;
}
