// The state file read by the game: the host's state reader (whole-file read
// and text decoding), then the save text's sections and checksums in p_Load.
// Whatever an input loads must survive being saved and loaded again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/myapp.h"
#include "tests/fuzz/memory_file_host.h"

namespace {

// Keeps what the game saves, as the bytes of the state file.
class StateHost : public MemoryFileHost {
public:
    int SaveState(String state) override {
        saved.clear();
        state.AppendUtf8(saved);
        return 0;
    }
    std::string saved;
};

// Everything the save text holds.
struct SavedFields {
    std::vector<int> settings;
    std::vector<bool> badges;
    std::vector<int> scores;
    bool operator==(const SavedFields& other) const {
        return settings == other.settings && badges == other.badges && scores == other.scores;
    }
};

template <class T>
std::vector<T> Copy(const Array<T>& array) {
    std::vector<T> copy;
    for (int i = 0; i < array.Length(); ++i) copy.push_back(array[i]);
    return copy;
}

SavedFields FieldsOf(const c_MyApp& app) { return {Copy(app.m_settings), Copy(app.m_badgeFlags), Copy(app.m_scores)}; }

StateHost host;
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
    const SavedFields loaded = FieldsOf(*app);

    app->p_Save();
    host.SetContent(reinterpret_cast<const std::uint8_t*>(host.saved.data()), host.saved.size());
    app->p_Load();
    if (!(FieldsOf(*app) == loaded)) std::abort();

    // One collector step, as after every host event, so the split text of
    // earlier inputs does not pile up.
    gc_step(app);
    return 0;
}
