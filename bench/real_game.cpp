#include "bench/real_game.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "devices/gxtk_graphics.h"
#include "game/program.h"
#include "host/glfw_facade.h"

namespace {

constexpr int kLoadingBound = 64;

}  // namespace

RealGame::RealGame(const std::string& dataDir) : previous_dir_(std::filesystem::current_path().string()) {
    if (!server_.Start()) {
        error_ = server_.Error();
        return;
    }
    std::filesystem::create_directory_symlink(dataDir, folder_.File("data"));
    std::ofstream(folder_.File("alsoft.conf")) << "[general]\ndrivers=null\n";
    setenv("ALSOFT_CONF", folder_.File("alsoft.conf").c_str(), 1);
    if (chdir(folder_.path().c_str()) != 0) {
        error_ = "no scratch folder";
        return;
    }
    glfw2::UseBackend(nullptr);
    if (glfw2::glfwInit() != 1) {
        error_ = "no window system";
        return;
    }
    host_ = new KzZarnikGame();
    kzInit();
    gc_mark();
    kzCreateApplication();
    host_->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    host_->StartGame();
    for (int i = 0; i < kLoadingBound; ++i) {
        Update();
        Render();
        if (App().m_loadStep == 0) return;
    }
    error_ = "loading did not finish";
}

RealGame::~RealGame() {
    delete host_;
    if (host_) glfw2::glfwTerminate();
    glfwGraphicsSeq = 0;
    if (chdir(previous_dir_.c_str()) != 0) std::abort();
}

c_MyApp& RealGame::App() const { return *static_cast<c_MyApp*>(kz_app__app); }

void RealGame::Update() { host_->UpdateGame(); }

void RealGame::Render() { host_->RenderGame(); }

std::vector<unsigned char> RealGame::ReadRgb(int width, int height) const {
    Array<int> pixels(width * height);
    kz_graphics_device->ReadPixels(pixels, 0, 0, width, height, 0, width);
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int i = 0; i < width * height; ++i) {
        const unsigned argb = static_cast<unsigned>(pixels[i]);
        rgb.push_back(static_cast<unsigned char>(argb >> 16));
        rgb.push_back(static_cast<unsigned char>(argb >> 8));
        rgb.push_back(static_cast<unsigned char>(argb));
    }
    return rgb;
}

void RealGame::Show() { glfw2::glfwSwapBuffers(); }
