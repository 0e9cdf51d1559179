// The state file read by the game: the host's state reader (whole-file read
// and text decoding), then the save text's sections and checksums in p_Load.
#include <cstddef>
#include <cstdint>

#include "game/myapp.h"
#include "tests/fuzz/memory_file_host.h"

namespace {

MemoryFileHost host;
c_MyApp* app = nullptr;

void MarkApp() { gc_mark_q(app); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!app) {
        kz_app__game = &host;
        app = new c_MyApp();
        gc_add_roots(MarkApp);
    }
    host.SetContent(data, size);
    app->p_Load();
    // One collector step, as after every host event, so the split text of
    // earlier inputs does not pile up.
    gc_step(app);
    return 0;
}
