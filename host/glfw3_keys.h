// Key codes between the system's GLFW 3 and the facade's classic codes.
#pragma once

namespace glfw2 {

// The classic code of a GLFW 3 key; KEY_UNKNOWN for keys without one.
int KeyFromGlfw3(int glfw3_key);
// The GLFW 3 key of a classic code; -1 (GLFW 3's unknown key) for none.
int KeyToGlfw3(int classic_key);

}  // namespace glfw2
