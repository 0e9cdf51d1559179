#include "devices/gl_recorder.h"

#include <cstring>

namespace {

size_t BytesPerPixel(GLenum format) {
    switch (format) {
        case GL_LUMINANCE: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB: return 3;
        default: return 4;
    }
}

}  // namespace

void GlRecorder::FailNext(GlOp op, GLenum error) {
    fail_armed_ = true;
    fail_op_ = op;
    fail_error_ = error;
}

std::vector<GlCall> GlRecorder::Calls(GlOp op) const {
    std::vector<GlCall> matching;
    for (const GlCall& call : calls) {
        if (call.op == op) matching.push_back(call);
    }
    return matching;
}

void GlRecorder::Record(GlOp op, std::initializer_list<double> args) {
    if (fail_armed_ && op == fail_op_) {
        fail_armed_ = false;
        // A driver keeps the first error until it is read.
        if (pending_error_ == GL_NO_ERROR) pending_error_ = fail_error_;
    }
    if (!keep_calls) return;
    GlCall call{op, {}};
    int i = 0;
    for (double arg : args) call.args[i++] = arg;
    calls.push_back(call);
}

void GlRecorder::Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record(GlOp::Viewport, {double(x), double(y), double(width), double(height)});
}
void GlRecorder::MatrixMode(GLenum mode) { Record(GlOp::MatrixMode, {double(mode)}); }
void GlRecorder::LoadIdentity() { Record(GlOp::LoadIdentity, {}); }
void GlRecorder::Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near,
                       GLdouble far) {
    Record(GlOp::Ortho, {left, right, bottom, top, near, far});
}
void GlRecorder::EnableClientState(GLenum array) { Record(GlOp::EnableClientState, {double(array)}); }
void GlRecorder::VertexPointer(GLint size, GLenum type, GLsizei stride, const void*) {
    Record(GlOp::VertexPointer, {double(size), double(type), double(stride)});
}
void GlRecorder::TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void*) {
    Record(GlOp::TexCoordPointer, {double(size), double(type), double(stride)});
}
void GlRecorder::ColorPointer(GLint size, GLenum type, GLsizei stride, const void*) {
    Record(GlOp::ColorPointer, {double(size), double(type), double(stride)});
}
void GlRecorder::Enable(GLenum capability) { Record(GlOp::Enable, {double(capability)}); }
void GlRecorder::Disable(GLenum capability) { Record(GlOp::Disable, {double(capability)}); }
void GlRecorder::BlendFunc(GLenum source, GLenum destination) {
    Record(GlOp::BlendFunc, {double(source), double(destination)});
}
void GlRecorder::Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record(GlOp::Scissor, {double(x), double(y), double(width), double(height)});
}
void GlRecorder::ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    Record(GlOp::ClearColor, {red, green, blue, alpha});
}
void GlRecorder::Clear(GLbitfield mask) { Record(GlOp::Clear, {double(mask)}); }
void GlRecorder::DrawArrays(GLenum mode, GLint first, GLsizei count) {
    ++draw_calls;
    Record(GlOp::DrawArrays, {double(mode), double(first), double(count)});
}
void GlRecorder::DrawElements(GLenum mode, GLsizei count, GLenum type, const void*) {
    ++draw_calls;
    Record(GlOp::DrawElements, {double(mode), double(count), double(type)});
}
void GlRecorder::GenTextures(GLsizei n, GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) textures[i] = next_texture_++;
    Record(GlOp::GenTextures, {double(n), double(textures[0])});
}
void GlRecorder::DeleteTextures(GLsizei n, const GLuint* textures) {
    Record(GlOp::DeleteTextures, {double(n), double(textures[0])});
}
void GlRecorder::BindTexture(GLenum target, GLuint texture) {
    Record(GlOp::BindTexture, {double(target), double(texture)});
}
void GlRecorder::TexParameteri(GLenum target, GLenum name, GLint value) {
    Record(GlOp::TexParameteri, {double(target), double(name), double(value)});
}
void GlRecorder::TexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width,
                            GLsizei height, GLint border, GLenum format, GLenum type, const void*) {
    Record(GlOp::TexImage2D, {double(target), double(level), double(internal_format), double(width),
                              double(height), double(border), double(format), double(type)});
}
void GlRecorder::TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                               GLsizei height, GLenum format, GLenum type, const void* pixels) {
    last_upload.clear();
    if (keep_calls && pixels) {
        const auto* bytes = static_cast<const unsigned char*>(pixels);
        last_upload.assign(bytes, bytes + static_cast<size_t>(width) * height * BytesPerPixel(format));
    }
    Record(GlOp::TexSubImage2D, {double(target), double(level), double(x), double(y), double(width),
                                 double(height), double(format), double(type)});
}
void GlRecorder::PixelStorei(GLenum name, GLint value) {
    Record(GlOp::PixelStorei, {double(name), double(value)});
}
void GlRecorder::ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                            GLenum type, void* pixels) {
    // Reads back black, as from a freshly cleared window.
    std::memset(pixels, 0, static_cast<size_t>(width) * height * 4);
    Record(GlOp::ReadPixels, {double(x), double(y), double(width), double(height), double(format),
                              double(type)});
}
GLenum GlRecorder::GetError() {
    const GLenum error = pending_error_;
    pending_error_ = GL_NO_ERROR;
    Record(GlOp::GetError, {double(error)});
    return error;
}
