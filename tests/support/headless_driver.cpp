#include "tests/support/headless_driver.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "devices/gxtk_audio.h"
#include "devices/gxtk_graphics.h"
#include "game/program.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/utf8.h"

namespace {

const char kDataPrefix[] = "zarnik://data/";

std::vector<FileRequest> g_requests;
std::vector<DeviceDraw> g_draws;
bool g_watch_draws = true;
long long g_event_bytes = 0;
// gc_new_bytes after the last collection step; a full collection resets it.
int g_bytes_after_step = 0;

// The desktop host noting every file the game asks for, and adding up the
// collector bytes of each forwarded event before its collection step.
class WatchedHost final : public KzZarnikGame {
public:
    void gc_collect() override {
        g_event_bytes += gc_new_bytes - g_bytes_after_step;
        KzZarnikGame::gc_collect();
        g_bytes_after_step = gc_new_bytes;
    }
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        g_requests.push_back({FileRequest::kImage, Utf8(path)});
        return KzGlfwGame::LoadImageData(path, width, height, depth);
    }
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override {
        g_requests.push_back({FileRequest::kSound, Utf8(path)});
        return KzGlfwGame::LoadAudioData(path, length, channels, format, hertz);
    }
};

WatchedHost* g_host = nullptr;

// The real graphics device with its drawing calls noted first.
class WatchedGraphics final : public gxtkGraphics {
public:
    explicit WatchedGraphics(KzGame* host) : gxtkGraphics(host) {}
    int DrawRect(float x, float y, float w, float h) override {
        Note(DeviceDraw::kRect, x, y, w, h, 0, 0);
        return gxtkGraphics::DrawRect(x, y, w, h);
    }
    int DrawOval(float x, float y, float w, float h) override {
        Note(DeviceDraw::kOval, x, y, w, h, 0, 0);
        return gxtkGraphics::DrawOval(x, y, w, h);
    }
    int DrawSurface(gxtkSurface* surface, float x, float y) override {
        Note(DeviceDraw::kImage, x, y, static_cast<float>(surface->width), static_cast<float>(surface->height), 0, 0);
        return gxtkGraphics::DrawSurface(surface, x, y);
    }
    int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch) override {
        Note(DeviceDraw::kImage, x, y, static_cast<float>(srcw), static_cast<float>(srch), srcx, srcy);
        return gxtkGraphics::DrawSurface2(surface, x, y, srcx, srcy, srcw, srch);
    }

private:
    void Note(DeviceDraw::Kind kind, float x, float y, float w, float h, int srcx, int srcy) {
        if (!g_watch_draws) return;
        g_draws.push_back(
            DeviceDraw{kind, x, y, w, h, srcx, srcy, a, b, c, d, tx, ty, red, green, blue, alpha, blendInForce});
    }
};

// Each OpenAL device holds a mixing thread: it goes with its driver.
void CloseAudioDevice(gxtkAudio* audio) {
    for (int channel = 0; channel < kChannelCount; ++channel) audio->StopChannel(channel);
    alcMakeContextCurrent(nullptr);
    if (audio->alcContext) alcDestroyContext(audio->alcContext);
    if (audio->alcDevice) alcCloseDevice(audio->alcDevice);
    audio->alcContext = nullptr;
    audio->alcDevice = nullptr;
}

}  // namespace

HeadlessDriver::HeadlessDriver(int width, int height, const std::string& dataFolder) {
    audio_fixtures::UseNullAudio();
    if (!dataFolder.empty()) std::filesystem::create_directory_symlink(dataFolder, DataDir());
    std::filesystem::create_directories(DataDir());
    g_requests.clear();
    g_watch_draws = true;
    g_event_bytes = 0;
    g_bytes_after_step = gc_new_bytes;

    glfw2::UseBackend(&backend_);
    glfw2::glfwInit();
    UseGlApi(&gl_);
    g_host = new WatchedHost();

    // The program's own start-up order.
    kzInit();
    gc_mark();
    kzCreateApplication();
    // Buffers discarded by earlier drivers' samples mean nothing to the new
    // OpenAL device.
    gxtkAudio::discarded.clear();
    g_host->SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
    g_host->StartGame();
    g_draws.clear();

    // The same device, watched, from the first frame on.
    auto* watched = new WatchedGraphics(g_host);
    gc_assign(kz_app__delegate->m_graphics, static_cast<gxtkGraphics*>(watched));
    kz_graphics_SetGraphicsDevice(watched);
}

HeadlessDriver::~HeadlessDriver() {
    if (kz_audio_device) CloseAudioDevice(kz_audio_device);
    delete g_host;
    g_host = nullptr;
    UseGlApi(nullptr);
    glfw2::UseBackend(nullptr);
    glfwGraphicsSeq = 0;
}

void HeadlessDriver::Update() {
    const int rate = g_host->UpdateRate();
    backend_.Advance(rate > 0 ? 1.0 / rate : 0.0);
    g_host->UpdateEvents();
    g_host->UpdateGame();  // the gate skips it while suspended
}

void HeadlessDriver::Updates(int count) { for (int i = 0; i < count; ++i) Update(); }

void HeadlessDriver::Render() { g_host->RenderGame(); glfw2::glfwSwapBuffers(); }

void HeadlessDriver::Frame() { Update(); Render(); }

void HeadlessDriver::Frames(int count) { for (int i = 0; i < count; ++i) Frame(); }

bool HeadlessDriver::FinishLoading(int bound) {
    for (int i = 0; i < bound; ++i) {
        Frame();
        if (App().m_loadStep == 0) return true;
    }
    return false;
}

void HeadlessDriver::Tap(int glfwKey) { Press(glfwKey); Release(glfwKey); }

void HeadlessDriver::Press(int glfwKey) { backend_.QueueKey(glfwKey, glfw2::PRESS); }
void HeadlessDriver::Release(int glfwKey) { backend_.QueueKey(glfwKey, glfw2::RELEASE); }

void HeadlessDriver::Focus(bool focused) { backend_.QueueFocus(focused); }
void HeadlessDriver::Iconify(bool iconified) { backend_.QueueIconify(iconified); }
void HeadlessDriver::Resize(int width, int height) { backend_.QueueResize(width, height); }

c_MyApp& HeadlessDriver::App() const { return *static_cast<c_MyApp*>(kz_app__app); }

KzGlfwGame& HeadlessDriver::Host() const { return *g_host; }

void HeadlessDriver::ClearRequests() { g_requests.clear(); }

std::vector<std::string> HeadlessDriver::RequestedFiles(FileRequest::Kind kind) const {
    std::vector<std::string> names;
    for (const FileRequest& request : g_requests) {
        if (request.kind != kind) continue;
        const bool inData = request.path.rfind(kDataPrefix, 0) == 0;
        names.push_back(inData ? request.path.substr(sizeof kDataPrefix - 1) : request.path);
    }
    return names;
}

const std::vector<DeviceDraw>& HeadlessDriver::Draws() const { return g_draws; }

void HeadlessDriver::ClearDraws() { g_draws.clear(); }

void HeadlessDriver::WatchDraws(bool on) { g_watch_draws = on; }

HeadlessDriver::FrameBytes HeadlessDriver::CollectorBytesOfFrames(int frames, const std::function<void()>& update) {
    FrameBytes bytes;
    for (int i = 0; i < frames; ++i) {
        const long long beforeUpdate = g_event_bytes;
        update();
        const long long beforeRender = g_event_bytes;
        Render();
        bytes.updates += beforeRender - beforeUpdate;
        bytes.renders += g_event_bytes - beforeRender;
    }
    return bytes;
}

std::vector<DrawRecord> HeadlessDriver::DisplayList() const {
    const c_MyApp& app = App();
    std::vector<DrawRecord> records;
    for (int at = 0; at + draw_record::kFloats <= app.m_drawCount; at += draw_record::kFloats) {
        const float* f = &app.m_drawList[at];
        using namespace draw_record;
        records.push_back(DrawRecord{f[kind], f[x], f[y], f[rotation], f[sizeX], f[sizeY], f[frame], f[alpha],
                                     f[red], f[green], f[blue], f[blend]});
    }
    return records;
}
