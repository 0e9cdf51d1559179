// Text output, fatal errors and the debug stop protocol.
//
// kzPrint writes one UTF-8 line to standard output. kzError of an empty
// message ends the program quietly with status 0; any other message is a
// fatal runtime error: its report goes to standard output and the program
// stops in dbg_stop, where a development tool attached to standard input and
// standard error may inspect it. With nothing attached (the normal case) the
// first read fails and the process ends with status -1.
#pragma once

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

// Turns SIGFPE, SIGSEGV and SIGILL into fatal runtime errors.
void sighandler(int signal_number);
