// Preloaded into the real program by title_start (never linked into it):
// notes, on the file named by TITLE_START_LOG, the monotonic time of each
// data file opened and of each buffer swap with the colour of one pixel of
// the frame being shown, so that the driver can tell the loading screen from
// the title. It also gives the window focus as soon as it exists, as a window
// manager would: the game runs no updates without focus, and the private X
// server has no window manager. Once the title has been shown it reads no
// more pixels, so that the title's own cost can be measured, and notes only
// the time of each later swap ("frame"), from which a longer run can find
// its longest frame.
#include <AL/alc.h>
#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "bench/title_start/screen_colours.h"

namespace {

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

int LogFd() {
    static int fd = -2;
    if (fd == -2) {
        const char* path = std::getenv("TITLE_START_LOG");
        fd = path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    }
    return fd;
}

// One whole line per write, so a line is never torn when the process is killed.
void Note(const char* line) {
    const int fd = LogFd();
    if (fd < 0) return;
    const ssize_t written = write(fd, line, std::strlen(line));
    (void)written;
}

template <class Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void NoteSpan(const char* what, long long begin) {
    char line[128];
    std::snprintf(line, sizeof line, "span %lld %lld %s\n", begin, NowNs(), what);
    Note(line);
}

// The time the program's own code can begin: the libraries are loaded.
__attribute__((constructor)) void NoteLoaded() {
    char line[64];
    std::snprintf(line, sizeof line, "loaded %lld\n", NowNs());
    Note(line);
}

void NoteOpen(const char* path) {
    if (!path || !std::strstr(path, "data/")) return;
    char line[512];
    std::snprintf(line, sizeof line, "open %lld %s\n", NowNs(), path);
    Note(line);
}

}  // namespace

extern "C" {

FILE* fopen(const char* path, const char* mode) {
    static auto real = Next<FILE* (*)(const char*, const char*)>("fopen");
    NoteOpen(path);
    return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
    static auto real = Next<FILE* (*)(const char*, const char*)>("fopen64");
    NoteOpen(path);
    return real(path, mode);
}

// The parts of start-up outside the program's own code, timed.
int glfwInit() {
    static auto real = Next<int (*)()>("glfwInit");
    const long long begin = NowNs();
    const int result = real();
    NoteSpan("glfwInit", begin);
    return result;
}

GLFWwindow* glfwCreateWindow(int width, int height, const char* title, GLFWmonitor* monitor, GLFWwindow* share) {
    static auto real = Next<GLFWwindow* (*)(int, int, const char*, GLFWmonitor*, GLFWwindow*)>("glfwCreateWindow");
    const long long begin = NowNs();
    GLFWwindow* window = real(width, height, title, monitor, share);
    if (window) glfwFocusWindow(window);
    NoteSpan("glfwCreateWindow", begin);
    char line[64];
    std::snprintf(line, sizeof line, "window %lld\n", NowNs());
    Note(line);
    return window;
}

ALCdevice* alcOpenDevice(const ALCchar* name) {
    static auto real = Next<ALCdevice* (*)(const ALCchar*)>("alcOpenDevice");
    const long long begin = NowNs();
    ALCdevice* device = real(name);
    NoteSpan("alcOpenDevice", begin);
    return device;
}

ALCcontext* alcCreateContext(ALCdevice* device, const ALCint* attributes) {
    static auto real = Next<ALCcontext* (*)(ALCdevice*, const ALCint*)>("alcCreateContext");
    const long long begin = NowNs();
    ALCcontext* context = real(device, attributes);
    NoteSpan("alcCreateContext", begin);
    return context;
}

void glfwSwapBuffers(GLFWwindow* window) {
    static auto real = Next<void (*)(GLFWwindow*)>("glfwSwapBuffers");
    static bool titleShown = false;
    if (!titleShown) {
        unsigned char pixel[4] = {0, 0, 0, 0};
        glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        const int colour[3] = {pixel[0], pixel[1], pixel[2]};
        titleShown = SameColour(colour, kTitleColour);
        char line[96];
        std::snprintf(line, sizeof line, "swap %lld %d %d %d\n", NowNs(), colour[0], colour[1], colour[2]);
        Note(line);
    } else {
        char line[48];
        std::snprintf(line, sizeof line, "frame %lld\n", NowNs());
        Note(line);
    }
    real(window);
}

}  // extern "C"
