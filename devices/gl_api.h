// The narrow set of OpenGL 1.x calls the devices use, behind one interface so
// that tests can record every call (and make a chosen one fail) while the
// program runs on the system's OpenGL.
#pragma once

#include <GL/gl.h>

class GlApi {
public:
    virtual ~GlApi() = default;

    virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
    virtual void MatrixMode(GLenum mode) = 0;
    virtual void LoadIdentity() = 0;
    virtual void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near,
                       GLdouble far) = 0;
    virtual void EnableClientState(GLenum array) = 0;
    virtual void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
    virtual void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
    virtual void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
    virtual void Enable(GLenum capability) = 0;
    virtual void Disable(GLenum capability) = 0;
    virtual void BlendFunc(GLenum source, GLenum destination) = 0;
    virtual void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
    virtual void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) = 0;
    virtual void Clear(GLbitfield mask) = 0;
    virtual void DrawArrays(GLenum mode, GLint first, GLsizei count) = 0;
    virtual void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) = 0;
    virtual void GenTextures(GLsizei n, GLuint* textures) = 0;
    virtual void DeleteTextures(GLsizei n, const GLuint* textures) = 0;
    virtual void BindTexture(GLenum target, GLuint texture) = 0;
    virtual void TexParameteri(GLenum target, GLenum name, GLint value) = 0;
    virtual void TexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width,
                            GLsizei height, GLint border, GLenum format, GLenum type,
                            const void* pixels) = 0;
    virtual void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                               GLsizei height, GLenum format, GLenum type, const void* pixels) = 0;
    virtual void PixelStorei(GLenum name, GLint value) = 0;
    virtual void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                            GLenum type, void* pixels) = 0;
    virtual GLenum GetError() = 0;
};

// The OpenGL the devices call: the system's unless a test installed another.
GlApi& Gl();
// Routes every device call to `api`; null goes back to the system's OpenGL.
void UseGlApi(GlApi* api);
