// Text output, fatal errors and the debug stop protocol.
//
// kzPrint writes one UTF-8 line to standard output. kzError of an empty
// message ends the program quietly with status 0; any other message is a
// fatal runtime error: its report goes to standard output and the program
// stops in dbg_stop, where a development tool attached to standard input and
// standard error may inspect it. With nothing attached (the normal case) the
// first read fails and the process ends with status -1.
#pragma once

#include <cstddef>

#include "runtime/kzstring.h"

// The current source position; never set in this program.
extern const char* dbg_info;
// The stack description recorded by the last dbg_throw.
extern String dbg_exstack;
// Written by the stop protocol, read by nothing else.
extern int dbg_stepmode;
extern int dbg_suspend;

int kzPrint(const String& text);
[[noreturn]] void kzError(const String& message);
[[noreturn]] void dbg_error(const char* message);
void dbg_stop();
int dbg_print(const String& text);
String dbg_stacktrace();
[[noreturn]] void dbg_throw(const char* error);
int kzDebugStop();
int kzDebugLog(const String& text);

// Turns SIGFPE, SIGSEGV and SIGILL into fatal runtime errors: the report
// and the stop line are written and the process ends with status -1 at once.
// Async-signal-safe.
void sighandler(int signal_number);

// The fatal report "Out of memory", written without allocating; ends the
// process with status -1. Also the program's new-handler.
[[noreturn]] void dbg_out_of_memory();
// malloc that never returns null: a request that cannot be met ends the
// program through dbg_out_of_memory.
void* kzMalloc(std::size_t bytes);
