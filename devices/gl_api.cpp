// The system's OpenGL behind the devices' call table.
#include "devices/gl_api.h"

namespace {

class SystemGl final : public GlApi {
public:
    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override {
        glViewport(x, y, width, height);
    }
    void MatrixMode(GLenum mode) override { glMatrixMode(mode); }
    void LoadIdentity() override { glLoadIdentity(); }
    void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near,
               GLdouble far) override {
        glOrtho(left, right, bottom, top, near, far);
    }
    void EnableClientState(GLenum array) override { glEnableClientState(array); }
    void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
        glVertexPointer(size, type, stride, pointer);
    }
    void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
        glTexCoordPointer(size, type, stride, pointer);
    }
    void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
        glColorPointer(size, type, stride, pointer);
    }
    void Enable(GLenum capability) override { glEnable(capability); }
    void Disable(GLenum capability) override { glDisable(capability); }
    void BlendFunc(GLenum source, GLenum destination) override { glBlendFunc(source, destination); }
    void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) override {
        glScissor(x, y, width, height);
    }
    void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) override {
        glClearColor(red, green, blue, alpha);
    }
    void Clear(GLbitfield mask) override { glClear(mask); }
    void DrawArrays(GLenum mode, GLint first, GLsizei count) override {
        glDrawArrays(mode, first, count);
    }
    void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) override {
        glDrawElements(mode, count, type, indices);
    }
    void GenTextures(GLsizei n, GLuint* textures) override { glGenTextures(n, textures); }
    void DeleteTextures(GLsizei n, const GLuint* textures) override { glDeleteTextures(n, textures); }
    void BindTexture(GLenum target, GLuint texture) override { glBindTexture(target, texture); }
    void TexParameteri(GLenum target, GLenum name, GLint value) override {
        glTexParameteri(target, name, value);
    }
    void TexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const void* pixels) override {
        glTexImage2D(target, level, internal_format, width, height, border, format, type, pixels);
    }
    void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                       GLenum format, GLenum type, const void* pixels) override {
        glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
    }
    void PixelStorei(GLenum name, GLint value) override { glPixelStorei(name, value); }
    void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                    void* pixels) override {
        glReadPixels(x, y, width, height, format, type, pixels);
    }
    GLenum GetError() override { return glGetError(); }
};

SystemGl system_gl;
GlApi* current = &system_gl;

}  // namespace

GlApi& Gl() { return *current; }

void UseGlApi(GlApi* api) { current = api ? api : &system_gl; }
