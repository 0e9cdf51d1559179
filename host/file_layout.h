// Where the program's files live: the data folder it reads and the state
// file it saves. Decided once, before the game starts, and read by the
// mapping of the data scheme and by the state file's load and save.
#pragma once

#include <string>

struct FileLayout {
    std::string dataFolder;  // ends in '/'
    std::string stateFile;
};

// Run from a folder that holds data/: everything relative to the working
// directory, as `make run` and the tests use it.
FileLayout BuildFolderLayout();

// Installed: the data beside the program (<its folder>/../share/tarvolan/data/,
// so a moved install still finds it) and the state in the player's own data
// folder ($XDG_DATA_HOME, else $HOME/.local/share, then tarvolan/). Null or
// empty variables count as unset; a relative $XDG_DATA_HOME is ignored.
FileLayout InstalledLayout(const std::string& executable, const char* xdgDataHome, const char* home);

// The build-folder layout when ./data/ is a folder, else the installed one
// when its data folder exists. False when neither has data; `lookedIn` then
// names the places tried.
bool ChooseFileLayout(const std::string& executable, const char* xdgDataHome, const char* home, FileLayout* chosen,
                      std::string* lookedIn);

// Chooses for this process (its own executable and environment) and uses the
// choice; without data anywhere it says where it looked on standard error
// and ends the program with status -1.
void UseFileLayoutWithData();

// The layout in force; the build-folder layout until one is chosen.
const FileLayout& CurrentFileLayout();
void UseFileLayout(const FileLayout& layout);
