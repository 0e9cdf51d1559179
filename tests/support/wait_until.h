// Waiting on a condition with a bound, never on time alone.
#pragma once

#include <chrono>
#include <thread>

// Polls `done` every `step` until it holds or `bound` has passed; whether it held.
template <class Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds bound = std::chrono::seconds(5),
               std::chrono::milliseconds step = std::chrono::milliseconds(2)) {
    const auto give_up = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}
