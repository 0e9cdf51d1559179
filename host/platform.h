// What the desktop and the browser do differently, behind one set of calls.
// host/desktop_platform.cpp implements them for the desktop and
// host/web_platform.cpp for the browser; a build links exactly one, which
// also makes the window-system backend (glfw2::Glfw3Backend).
#pragma once

#include <string>

class KzGlfwGame;

namespace host_platform {

// At start, before anything reads a file: chooses where the data folder and
// the state file live (on the desktop, ends the program when no data is found).
void Prepare();

// Calls game.RunFrame() until it returns false: a loop on the desktop, once
// per animation frame in the browser.
void RunFrames(KzGlfwGame& game);

// Shows the page at `address` to the player.
void OpenUrl(const std::string& address);

// After the state file was written: makes it last.
void StateSaved();

}  // namespace host_platform
