// The game on the real window system: the program's own start-up on GLFW 3
// with Mesa in a 640 x 480 window of a private Xvfb, OpenAL Soft on its null
// backend, run from a scratch folder that holds the generated data folder.
// Updates and renders are called by hand (there is no host loop, so the
// window's focus does not matter). One per process at a time.
#pragma once

#include <string>
#include <vector>

#include "game/myapp.h"
#include "host/kzglfwgame.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/scratch_files.h"

class RealGame {
public:
    explicit RealGame(const std::string& dataDir);
    ~RealGame();
    RealGame(const RealGame&) = delete;
    RealGame& operator=(const RealGame&) = delete;

    // Whether the window came up and loading finished; the reason otherwise.
    bool Ready() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

    c_MyApp& App() const;
    void Update();
    void Render();
    // The window's pixels, top row first, 3 bytes (red, green, blue) each.
    std::vector<unsigned char> ReadRgb(int width, int height) const;
    // Swaps the window's buffers.
    void Show();

private:
    XvfbServer server_;
    ScratchDir folder_;
    std::string previous_dir_;
    KzZarnikGame* host_ = nullptr;
    std::string error_;
};
