// Runs a piece of code in a child process, feeding it standard input and
// capturing its standard output, standard error and exit status. For code
// that ends the process (fatal errors, exits) or crashes on purpose.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
    bool exited = false;   // ended through exit (not killed by a signal)
    int exit_status = -1;  // 0..255 when exited
    int signal = 0;        // the signal that killed it otherwise
    std::string out;
    std::string err;
};

// `body` runs in the child; if it returns, the child exits with status 0.
// `stdin_text` is written to the child's standard input, which is then closed.
ChildResult RunInChild(const std::function<void()>& body, const std::string& stdin_text = "");

// As RunInChild, with a new pseudo-terminal as the child's standard input,
// output and error, the way a program started from a shell has them. All it
// writes arrives in `out`, with the terminal's line ends ("\r\n").
ChildResult RunInTerminal(const std::function<void()>& body);

struct CommandResult {
    int status = -1;  // exit status, -1 when it did not exit normally
    std::string out;
};

// Runs a program (found on PATH) with the given arguments, no shell involved.
// Every program a test runs this way must be named in scripts/check-packages.
CommandResult RunCommand(const std::vector<std::string>& argv);
