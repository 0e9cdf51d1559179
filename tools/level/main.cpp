// level: a developer's view of the level generator.
//
//   level --difficulty D --level L              the level as JSON on standard output
//   level --difficulty D --level L --png FILE   the whole map drawn into FILE instead
//   level --summary D1-D2 L1-L2                 one line per level of those ranges
//
// Levels are built as a game reaching them with all five walkers alive
// would, with the clock at 0. Bad arguments print the usage on standard error
// and exit with status 2; a picture that cannot be written exits with 1.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/play/level_report.h"
#include "tools/level/picture.h"

namespace {

constexpr int kFirstDifficulty = 1;
constexpr int kLastDifficulty = 3;
// Far beyond any level a game reaches; a level's work grows with its number.
constexpr int kFirstLevel = 1;
constexpr int kLastLevel = 999;

constexpr const char* kUsage =
    "usage: level --difficulty D --level L [--png FILE]\n"
    "       level --summary D1-D2 L1-L2\n"
    "D is a game type, 1 to 3; L a level number, 1 to 999.\n";

struct Range {
    int first = 0;
    int last = -1;
};

struct Request {
    Range difficulties;
    Range levels;
    std::string png;
    bool summary = false;
};

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "level: %s\n%s", why.c_str(), kUsage);
    std::exit(2);
}

int Parse(const std::string& text, const char* what, int low, int high) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high) {
        Fail(std::string(what) + " '" + text + "' is not a number from " + std::to_string(low) + " to " +
             std::to_string(high));
    }
    return static_cast<int>(value);
}

// "A-B" or a single number.
Range ParseRange(const std::string& text, const char* what, int low, int high) {
    const size_t dash = text.find('-');
    if (dash == std::string::npos) {
        const int only = Parse(text, what, low, high);
        return {only, only};
    }
    const Range range{Parse(text.substr(0, dash), what, low, high), Parse(text.substr(dash + 1), what, low, high)};
    if (range.first > range.last) Fail(std::string(what) + " range '" + text + "' runs backwards");
    return range;
}

Request ParseArguments(int argc, char** argv) {
    Request request;
    bool difficulty = false;
    bool level = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const auto value = [&](int ahead) -> std::string {
            if (i + ahead >= argc) Fail(option + " needs " + (ahead == 1 ? "a value" : "two values"));
            return argv[i + ahead];
        };
        if (option == "--difficulty") {
            const int only = Parse(value(1), "difficulty", kFirstDifficulty, kLastDifficulty);
            request.difficulties = {only, only};
            difficulty = true;
            ++i;
        } else if (option == "--level") {
            const int only = Parse(value(1), "level", kFirstLevel, kLastLevel);
            request.levels = {only, only};
            level = true;
            ++i;
        } else if (option == "--png") {
            request.png = value(1);
            ++i;
        } else if (option == "--summary") {
            request.difficulties = ParseRange(value(1), "difficulty", kFirstDifficulty, kLastDifficulty);
            request.levels = ParseRange(value(2), "level", kFirstLevel, kLastLevel);
            request.summary = true;
            i += 2;
        } else {
            Fail("unknown argument '" + option + "'");
        }
    }
    if (request.summary && (difficulty || level || !request.png.empty())) {
        Fail("--summary takes no other options");
    }
    if (!request.summary && !(difficulty && level)) Fail("one --difficulty and one --level are needed");
    return request;
}

}  // namespace

int main(int argc, char** argv) {
    const Request request = ParseArguments(argc, argv);
    LevelBuilder builder;
    if (request.summary) {
        for (int d = request.difficulties.first; d <= request.difficulties.last; ++d) {
            for (int l = request.levels.first; l <= request.levels.last; ++l) {
                std::printf("%s\n", LevelSummary(builder.Build(d, l)).c_str());
            }
        }
        return 0;
    }
    const c_MyApp& app = builder.Build(request.difficulties.first, request.levels.first);
    if (request.png.empty()) {
        std::fputs(LevelJson(app).c_str(), stdout);
        return 0;
    }
    if (!WritePng(DrawLevel(app), request.png)) {
        std::fprintf(stderr, "level: cannot write %s\n", request.png.c_str());
        return 1;
    }
    return 0;
}
