// An OpenGL stand-in for tests and benchmarks: it draws nothing, records
// every call with its arguments, hands out texture names, and can make a
// chosen call fail the way a driver reports it (through GetError).
#pragma once

#include <array>
#include <vector>

#include "devices/gl_api.h"

enum class GlOp {
    Viewport, MatrixMode, LoadIdentity, Ortho, EnableClientState, VertexPointer,
    TexCoordPointer, ColorPointer, Enable, Disable, BlendFunc, Scissor, ClearColor, Clear,
    DrawArrays, DrawElements, GenTextures, DeleteTextures, BindTexture, TexParameteri,
    TexImage2D, TexSubImage2D, PixelStorei, ReadPixels, GetError,
};

struct GlCall {
    GlOp op;
    // The numeric arguments in call order (pointers left out; a texture name
    // given through a pointer is recorded by value).
    std::array<double, 9> args;

    int Arg(int i) const { return static_cast<int>(args[i]); }
};

class GlRecorder final : public GlApi {
public:
    // Whether calls are kept; counting a benchmark's draw calls needs no list.
    bool keep_calls = true;
    std::vector<GlCall> calls;
    int draw_calls = 0;  // DrawArrays and DrawElements
    // The bytes of the last TexSubImage2D, rows packed (unpack alignment 1).
    std::vector<unsigned char> last_upload;

    // The next call of `op` fails: the following GetError reports `error`.
    void FailNext(GlOp op, GLenum error = GL_OUT_OF_MEMORY);
    // The recorded calls of one kind, in order.
    std::vector<GlCall> Calls(GlOp op) const;
    void Clear() {
        calls.clear();
        draw_calls = 0;
    }

    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override;
    void MatrixMode(GLenum mode) override;
    void LoadIdentity() override;
    void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near,
               GLdouble far) override;
    void EnableClientState(GLenum array) override;
    void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override;
    void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override;
    void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override;
    void Enable(GLenum capability) override;
    void Disable(GLenum capability) override;
    void BlendFunc(GLenum source, GLenum destination) override;
    void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) override;
    void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) override;
    void Clear(GLbitfield mask) override;
    void DrawArrays(GLenum mode, GLint first, GLsizei count) override;
    void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) override;
    void GenTextures(GLsizei n, GLuint* textures) override;
    void DeleteTextures(GLsizei n, const GLuint* textures) override;
    void BindTexture(GLenum target, GLuint texture) override;
    void TexParameteri(GLenum target, GLenum name, GLint value) override;
    void TexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const void* pixels) override;
    void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                       GLenum format, GLenum type, const void* pixels) override;
    void PixelStorei(GLenum name, GLint value) override;
    void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                    void* pixels) override;
    GLenum GetError() override;

private:
    void Record(GlOp op, std::initializer_list<double> args);

    GLuint next_texture_ = 1;
    bool fail_armed_ = false;
    GlOp fail_op_ = GlOp::GetError;
    GLenum fail_error_ = GL_NO_ERROR;
    GLenum pending_error_ = GL_NO_ERROR;
};
