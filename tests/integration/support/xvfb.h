// A private X server for tests that need a real display: Xvfb on a display
// number of its own choosing, made the process's DISPLAY while it runs.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer() { Stop(); }

    // Starts the server, with any further arguments given, and waits
    // (bounded) until it accepts clients. Returns false, with the reason in
    // Error(), when it does not come up.
    bool Start(const std::vector<std::string>& more_arguments = {});
    void Stop();

    const std::string& Display() const { return display_; }
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
};
