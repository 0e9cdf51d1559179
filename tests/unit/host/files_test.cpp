// Data paths, file reading, and the state file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/file_layout.h"
#include "host/files.h"
#include "host/kzglfwgame.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/support/utf8.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Chars = std::vector<Char>;

Chars CharsOf(const String& s) { return Chars(s.Data(), s.Data() + s.Length()); }
String StringOf(const Chars& c) { return String(c.data(), static_cast<int>(c.size())); }

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { mkdir("data", 0755); }
    // Everything in a folder (the scratch folder by default) but the data folder, sorted.
    static std::vector<std::string> Entries(const char* folder = ".") {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder)) {
            if (e.path().filename() != "data") names.push_back(e.path().filename());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchWorkingDir dir_;
    KzGlfwGame game;
};

TEST_F(FilesTest, BareNamesGoUnderTheDataSchemeAndLocationsStayAsTheyAre) {
    const std::pair<const char*, const char*> cases[] = {
        {"images/ship.png", "zarnik://data/images/ship.png"}, {"zarnik://data/x", "zarnik://data/x"}, {"./x", "./x"},
        {"/x", "/x"}, {"C:/x", "C:/x"}, {"a:b/c", "zarnik://data/a:b/c"},
        {"a/b:/c", "zarnik://data/a/b:/c"},  // the first "/" comes before ":/"
        {"", "zarnik://data/"},
    };
    for (const auto& [path, fixed] : cases) EXPECT_EQ(Utf8(kz_data_FixDataPath(String(path))), fixed) << path;
}

TEST_F(FilesTest, SchemesMapToFoldersAndUnknownSchemesToNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"zarnik://data/images/ship.png", "./data/images/ship.png"}, {"zarnik://internal/a", "./internal/a"},
        {"zarnik://external/b", "./external/b"}, {"zarnik://other/x", ""}, {"zarnik:data/x", ""}, {"./x", "./x"},
        {"data/x", "data/x"},
    };
    for (const auto& [path, file] : cases) EXPECT_EQ(Utf8(game.PathToFilePath(String(path))), file) << path;
    EXPECT_EQ(Utf8(KzGame().PathToFilePath(String("zarnik://data/x"))), "zarnik://data/x");
}

TEST_F(FilesTest, OpenFileFollowsTheMappingWithUtf8Names) {
    WriteFileBytes("data/\xC3\xA9t\xC3\xA9.txt", {'o', 'k'});
    const Char name[] = {'z', 'a', 'r', 'n', 'i', 'k', ':', '/', '/', 'd', 'a', 't', 'a', '/',
                         0xE9, 't', 0xE9, '.', 't', 'x', 't'};
    std::FILE* file = game.OpenFile(String(name, 21), String("rb"));
    ASSERT_NE(file, nullptr);
    std::fclose(file);

    WriteFileBytes("other", {'x'});
    EXPECT_EQ(game.OpenFile(String("zarnik://other/other"), String("rb")), nullptr);
    EXPECT_EQ(game.OpenFile(String("zarnik://data/missing"), String("rb")), nullptr);
    // A character 0 would cut the name short and open another file.
    const Char with_nul[] = {'o', 't', 'h', 'e', 'r', 0, 'z'};
    EXPECT_EQ(game.OpenFile(String(with_nul, 7), String("rb")), nullptr);
}

TEST_F(FilesTest, FilesAroundTheBlockSizeAreReadWhole) {
    for (const int size : {0, 4095, 4096, 4097, 8192, 10000}) {
        Bytes bytes(size);
        for (int i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>('a' + i % 26);
        WriteFileBytes("data/blocks.bin", bytes);
        int length = -1;
        const int ext_before = gc_ext_new_bytes.load();
        unsigned char* data = game.LoadData(String("zarnik://data/blocks.bin"), &length);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(Bytes(data, data + length), bytes) << size;
        EXPECT_EQ(gc_ext_new_bytes.load() - ext_before, size);
        std::free(data);
    }
    int length = 17;
    EXPECT_EQ(game.LoadData(String("zarnik://data/missing.bin"), &length), nullptr);
    EXPECT_EQ(length, 17);
}

TEST_F(FilesTest, TheStateFileHoldsExactlyTheUtf8OfTheState) {
    const struct { const char* what; Chars state; Bytes bytes; Chars loaded; } cases[] = {
        {"empty", {}, {}, {}}, {"e-acute", {0xE9}, {0xC3, 0xA9}, {0xE9}},
        {"inner mark kept", {'a', 0xFEFF}, {'a', 0xEF, 0xBB, 0xBF}, {'a', 0xFEFF}},
        {"leading mark dropped", {0xFEFF, 'a'}, {0xEF, 0xBB, 0xBF, 'a'}, {'a'}},
    };
    const mode_t mask = umask(022);
    for (const auto& c : cases) {
        EXPECT_EQ(game.SaveState(StringOf(c.state)), 0) << c.what;
        EXPECT_EQ(ReadFileBytes(".zarnikstate"), c.bytes) << c.what;
        EXPECT_EQ(CharsOf(game.LoadState()), c.loaded) << c.what;
    }
    umask(mask);
    EXPECT_EQ(Entries(), std::vector<std::string>({".zarnikstate"}));  // no temporary left behind
    EXPECT_EQ(std::filesystem::status(".zarnikstate").permissions(), std::filesystem::perms(0644))
        << "the usual file permissions";
    unlink(".zarnikstate");
    EXPECT_EQ(game.LoadState().Length(), 0);  // first run
}

TEST_F(FilesTest, AShortWriteReturnsMinusTwoKeepsTheOldStateAndSaysWhy) {
    ASSERT_EQ(game.SaveState(String("old|state|")), 0);
    const ChildResult r = RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};  // below the new text: the write comes up short, as on a full disk
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string big(10000, '7');
        std::printf("%d", game.SaveState(String(big.c_str())));
    });
    EXPECT_EQ(r.out, "-2");
    EXPECT_EQ(r.err, "cannot write ./.zarnikstate: File too large\n");
    EXPECT_EQ(Utf8(game.LoadState()), "old|state|");
    EXPECT_EQ(Entries(), std::vector<std::string>({".zarnikstate"}));
}

TEST_F(FilesTest, AStateThatCannotBeWrittenAtAllReturnsMinusOneAndIsToldOnce) {
    mkdir(".zarnikstate", 0755);  // a folder in the way
    ChildResult r = RunInChild([&] {
        const int first = game.SaveState(String("x"));
        const int second = game.SaveState(String("y"));
        std::printf("%d %d [%s]", first, second, Utf8(game.LoadState()).c_str());
    });
    EXPECT_EQ(r.out, "-1 -1 []");
    EXPECT_EQ(r.err, "cannot write ./.zarnikstate: Is a directory\ncannot read ./.zarnikstate: Is a directory\n");
    EXPECT_TRUE(std::filesystem::is_directory(".zarnikstate"));
    EXPECT_EQ(Entries(), std::vector<std::string>({".zarnikstate"}));
    rmdir(".zarnikstate");

    chmod(".", 0555);  // a read-only folder; root ignores permissions, so the child gives them up
    r = RunInChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return;
        const int loaded = game.LoadState().Length();
        const int first = game.SaveState(String("x"));
        std::printf("%d %d %d", loaded, first, game.SaveState(String("y")));
    });
    chmod(".", 0755);
    EXPECT_EQ(r.out, "0 -1 -1");
    EXPECT_EQ(r.err, "cannot write ./.zarnikstate: Permission denied\n") << "a first run's missing state is not told";

    r = RunInChild([&] {
        mkdir("gone", 0755);
        chdir("gone");
        rmdir("../gone");  // a working folder that no longer exists
        std::printf("%d", game.SaveState(String("x")));
    });
    EXPECT_EQ(r.out, "-1");
}

// An installed game's state lives in folders that a first save creates,
// owner-only; a folder that cannot be made is told like any failed save.
TEST_F(FilesTest, TheFirstSaveCreatesTheStatesFoldersForItsOwnerOnly) {
    UseFileLayout(FileLayout{"./data/", "./home/.local/share/tarvolan/.zarnikstate"});
    EXPECT_EQ(game.SaveState(String("saved")), 0);
    EXPECT_EQ(Utf8(game.LoadState()), "saved");
    for (const char* folder : {"home", "home/.local", "home/.local/share/tarvolan"}) {
        EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms(0700)) << folder;
    }

    WriteFileBytes("file", {'x'});
    UseFileLayout(FileLayout{"./data/", "./file/tarvolan/.zarnikstate"});
    const ChildResult r = RunInChild([&] { std::printf("%d", game.SaveState(String("x"))); });
    UseFileLayout(BuildFolderLayout());
    EXPECT_EQ(r.out, "-1");
    EXPECT_EQ(r.err, "cannot write ./file/tarvolan/.zarnikstate: Not a directory\n");
}

TEST_F(FilesTest, SavingReplacesTheTargetOfALinkAndKeepsItsPermissions) {
    mkdir("saves", 0755);
    symlink("saves/link", ".zarnikstate");
    symlink("state", "saves/link");  // relative to its own folder
    WriteFileBytes("saves/state", {'o', 'l', 'd'});
    chmod("saves/state", 0600);
    const mode_t mask = umask(022);
    EXPECT_EQ(game.SaveState(String("new")), 0);
    EXPECT_EQ(ReadFileBytes("saves/state"), Bytes({'n', 'e', 'w'}));
    EXPECT_TRUE(std::filesystem::is_symlink(".zarnikstate") && std::filesystem::is_symlink("saves/link"));
    EXPECT_EQ(std::filesystem::status("saves/state").permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(Entries("saves"), std::vector<std::string>({"link", "state"})) << "no temporary left beside the target";

    unlink("saves/state");  // a link to nothing yet: the target is created
    EXPECT_EQ(game.SaveState(String("first")), 0);
    EXPECT_EQ(ReadFileBytes("saves/state"), Bytes({'f', 'i', 'r', 's', 't'}));
    EXPECT_EQ(std::filesystem::status("saves/state").permissions(), std::filesystem::perms(0644));
    umask(mask);

    unlink("saves/link");
    symlink("../.zarnikstate", "saves/link");  // a loop
    const ChildResult r = RunInChild([&] { std::printf("%d", game.SaveState(String("x"))); });
    EXPECT_EQ(r.out, "-1");
    EXPECT_EQ(r.err, "cannot write ./.zarnikstate: Too many levels of symbolic links\n");
}

TEST_F(FilesTest, ATemporaryLeftByAKilledSaveIsReplacedNotWrittenThrough) {
    WriteFileBytes("victim", {'k', 'e', 'e', 'p'});
    for (const bool as_link : {false, true}) {
        if (as_link) {
            symlink("victim", ".zarnikstate.tmp");
        } else {
            WriteFileBytes(".zarnikstate.tmp", {'s', 't', 'a', 'l', 'e'});
        }
        EXPECT_EQ(game.SaveState(String("saved")), 0) << as_link;
        EXPECT_EQ(Utf8(game.LoadState()), "saved") << as_link;
        EXPECT_EQ(ReadFileBytes("victim"), Bytes({'k', 'e', 'e', 'p'})) << as_link;
        EXPECT_EQ(Entries(), std::vector<std::string>({".zarnikstate", "victim"})) << as_link;
    }
}

TEST_F(FilesTest, EachDataFileThatCannotBeReadIsToldOnceWithItsReason) {
    WriteFileBytes("data/junk.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    // A header of 19969 x 1 pixels of RGBA: wider than any picture the program accepts.
    WriteFileBytes("data/huge.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                     0, 0, 0x4E, 1, 0, 0, 0, 1, 8, 6, 0, 0, 0, 0, 0, 0, 0});
    mkdir("data/folder.png", 0755);
    WriteFileBytes("data/junk.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    WriteFileBytes("data/junk.ogg", {'O', 'g', 'g', 'S'});
    WriteFileBytes("data/tune.mp3", {'I', 'D', '3'});
    symlink("/proc/self/mem", "data/memory.bin");  // opens, but its first read fails

    enum Reader { kImage, kSound, kText, kData };
    const struct { const char* file; Reader reader; const char* told; } cases[] = {
        {"missing.png", kImage, "No such file or directory"},
        {"junk.png", kImage, "Image not of any known type, or corrupt"},
        {"huge.png", kImage, "Very large image (corrupt?)"},
        {"folder.png", kImage, "Is a directory"},
        {"junk.wav", kSound, "not a PCM WAV file"},
        {"junk.ogg", kSound, "not an Ogg Vorbis file"},
        {"tune.mp3", kSound, "neither a .wav nor an .ogg file"},
        {"missing.txt", kText, "No such file or directory"},
        {"missing.bin", kData, "No such file or directory"},
        {"memory.bin", kData, "Input/output error"},
    };
    const auto load = [&](Reader reader, const std::string& file) {
        const String path(("zarnik://data/" + file).c_str());
        int a = 0, b = 0, c = 0, d = 0;
        switch (reader) {
            case kImage: return game.LoadImageData(path, &a, &b, &c) != nullptr;
            case kSound: return game.LoadAudioData(path, &a, &b, &c, &d) != nullptr;
            case kText: return game.LoadString(path).Length() > 0;
            case kData: return game.LoadData(path, &a) != nullptr;
        }
        return true;
    };
    std::string told;
    for (const auto& c : cases) told += std::string("cannot read ./data/") + c.file + ": " + c.told + "\n";
    told += "cannot read ./data/: No such file or directory\n";

    // The first pass takes the pictures from the decoder, which reads them ahead.
    const auto queueThePictures = [&] {
        std::vector<String> paths;
        for (const auto& c : cases) {
            if (c.reader == kImage) paths.push_back(String(("zarnik://data/" + std::string(c.file)).c_str()));
        }
        Array<String> queued(static_cast<int>(paths.size()));
        for (size_t i = 0; i < paths.size(); ++i) queued[static_cast<int>(i)] = paths[i];
        game.DecodeImagesAhead(queued);
    };
    const ChildResult r = RunInChild([&] {
        queueThePictures();
        for (int pass = 0; pass < 2; ++pass) {  // loaded again, as after a resize: told once
            for (const auto& c : cases) {
                if (load(c.reader, c.file)) std::printf("%s loaded\n", c.file);
            }
        }
        std::filesystem::rename("data", "moved");  // no data folder: one line for all its files
        for (const char* file : {"gfx.png", "sfx/001.wav", "fonts/fennick.png"}) load(kImage, file);
    });
    EXPECT_EQ(r.out, "") << "nothing loads, and the messages for the player on standard output stay as they are";
    EXPECT_EQ(r.err, told);
}

}  // namespace
