#include "host/file_layout.h"

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kInstalledData[] = "share/tarvolan/data/";
const char kStateFolder[] = "tarvolan/";
const char kStateName[] = ".zarnikstate";

FileLayout& Current() {
    static FileLayout layout = BuildFolderLayout();
    return layout;
}

bool IsSet(const char* variable) { return variable && *variable; }

bool IsFolder(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The path up to and including its last '/' but one ("/usr/bin/x" gives
// "/usr/"): the prefix an installed program sits in.
std::string InstallPrefix(const std::string& executable) {
    const size_t name = executable.rfind('/');
    if (name == std::string::npos || name == 0) return "/";
    const size_t bin = executable.rfind('/', name - 1);
    return bin == std::string::npos ? "./" : executable.substr(0, bin + 1);
}

std::string UserDataHome(const char* xdgDataHome, const char* home) {
    if (IsSet(xdgDataHome) && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/";
    if (!IsSet(home)) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : "";
    }
    return std::string(home) + "/.local/share/";
}

std::string ThisExecutable() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

}  // namespace

FileLayout BuildFolderLayout() { return FileLayout{"./data/", "./.zarnikstate"}; }

FileLayout InstalledLayout(const std::string& executable, const char* xdgDataHome, const char* home) {
    return FileLayout{InstallPrefix(executable) + kInstalledData,
                      UserDataHome(xdgDataHome, home) + kStateFolder + kStateName};
}

bool ChooseFileLayout(const std::string& executable, const char* xdgDataHome, const char* home, FileLayout* chosen,
                      std::string* lookedIn) {
    const FileLayout candidates[] = {BuildFolderLayout(), InstalledLayout(executable, xdgDataHome, home)};
    lookedIn->clear();
    for (const FileLayout& layout : candidates) {
        if (IsFolder(layout.dataFolder)) {
            *chosen = layout;
            return true;
        }
        *lookedIn += (lookedIn->empty() ? "" : " and ") + layout.dataFolder;
    }
    return false;
}

void UseFileLayoutWithData() {
    FileLayout layout;
    std::string lookedIn;
    if (!ChooseFileLayout(ThisExecutable(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), &layout, &lookedIn)) {
        std::fprintf(stderr, "tarvolan: no data folder found (looked in %s)\n", lookedIn.c_str());
        std::exit(-1);
    }
    UseFileLayout(layout);
}

const FileLayout& CurrentFileLayout() { return Current(); }

void UseFileLayout(const FileLayout& layout) { Current() = layout; }
