// A graphics device on a 640 x 480 scripted window with OpenGL recorded,
// inside a frame that has begun.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "devices/gl_recorder.h"
#include "devices/gxtk_graphics.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "host/scripted_backend.h"

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        glfw2::UseBackend(&backend);
        backend.OpenWindow(640, 480, 8, 8, 8, 8, 0, 0, glfw2::WINDOW);
        UseGlApi(&gl);
        glfwGraphicsSeq = 1;
        device = new gxtkGraphics(&host);
        device->BeginRender();
        gl.Clear();
    }

    void TearDown() override {
        UseGlApi(nullptr);
        glfw2::UseBackend(nullptr);
        glfwGraphicsSeq = 0;
    }

    // A surface holding a copy of `bytes` (width x height x depth of them).
    static gxtkSurface* SurfaceWith(int width, int height, int depth,
                                    const std::vector<unsigned char>& bytes) {
        auto* data = static_cast<unsigned char*>(std::malloc(bytes.size() + 1));
        if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
        auto* surface = new gxtkSurface();
        surface->SetData(data, width, height, depth);
        return surface;
    }

    static gxtkSurface* BlankSurface(int width, int height) {
        return SurfaceWith(width, height, 4, std::vector<unsigned char>(size_t(width) * height * 4, 255));
    }

    // Index counts of glDrawElements and vertex counts of glDrawArrays, in
    // the order drawn.
    std::vector<int> DrawnCounts() const {
        std::vector<int> counts;
        for (const GlCall& call : gl.calls) {
            if (call.op == GlOp::DrawElements) counts.push_back(call.Arg(1));
            if (call.op == GlOp::DrawArrays) counts.push_back(call.Arg(2));
        }
        return counts;
    }

    glfw2::ScriptedBackend backend;
    GlRecorder gl;
    KzGlfwGame host;  // reads the pictures
    gxtkGraphics* device = nullptr;
};
