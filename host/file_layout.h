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

// In the browser: the data folder packed with the page, the state file in a
// folder the page keeps in the browser's persistent storage (web/start.js
// mounts both at these places).
FileLayout BrowserLayout();

// The layout in force; the build-folder layout until one is chosen.
const FileLayout& CurrentFileLayout();
void UseFileLayout(const FileLayout& layout);
