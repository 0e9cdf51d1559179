#include "runtime/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/object.h"

const char* dbg_info = nullptr;
String dbg_exstack;
int dbg_stepmode = 0;
int dbg_suspend = 0;

namespace {

constexpr int kStopLineCapacity = 256;  // 255 characters and the terminator

// The position text of the report and the stop line; empty in this program.
const char* position_text() { return dbg_info ? dbg_info : ""; }

// The "@" command: the address comes from outside, so it is only trusted when
// it names a collected object that is alive right now.
void print_object_at(const char* address_text) {
    void* address = nullptr;
    if (std::sscanf(address_text, "%p", &address) == 1 && gc_is_live_object(address)) {
        if (Object* object = dynamic_cast<Object*>(static_cast<gc_object*>(address))) {
            dbg_print(object->debug());
            return;
        }
    }
    dbg_print(String());
}

[[noreturn]] void reject_command(char* line) {
    line[std::strcspn(line, "\n")] = 0;
    std::printf("????? %s ?????\n", line);
    std::fflush(stdout);
    std::exit(-1);
}

}  // namespace

int kzPrint(const String& text) {
    static std::string bytes;
    bytes.clear();
    text.AppendUtf8(bytes);
    bytes += '\n';
    // One zero-terminated C string: a character 0 ends the line there.
    std::fputs(bytes.c_str(), stdout);
    std::fflush(stdout);
    return 0;
}

void kzError(const String& message) {
    if (message.Length() == 0) std::exit(0);
    dbg_error(String::CString<char>(message));
}

void dbg_error(const char* message) {
    const String report = String("Zarnik Runtime Error : ") + String(message);
    for (;;) {
        kzPrint(report);
        kzPrint(dbg_stacktrace());
        dbg_stop();
    }
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", position_text());
    dbg_print(String());
    std::fflush(stderr);

    for (;;) {
        char line[kStopLineCapacity];
        if (!std::fgets(line, sizeof line, stdin) || !std::strchr(line, '\n')) std::exit(-1);

        switch (line[0]) {
            case 'r': dbg_suspend = 0; dbg_stepmode = 0; return;
            case 's': dbg_suspend = 1; dbg_stepmode = 's'; return;
            case 'e': dbg_suspend = 1; dbg_stepmode = 'e'; return;
            case 'l': dbg_suspend = 0; dbg_stepmode = 'l'; return;
            case 'q': std::exit(0);
            case '@': print_object_at(line + 1); break;
            case '?': break;
            default: reject_command(line);
        }
    }
}

int dbg_print(const String& text) {
    static char* buffer = nullptr;
    static int capacity = 0;
    const int length = text.Length();
    if (length + 99 >= capacity) {
        std::free(buffer);
        capacity = length + 100;
        buffer = static_cast<char*>(std::malloc(capacity));
    }
    for (int i = 0; i < length; ++i) buffer[i] = static_cast<char>(text[i] & 0xff);
    buffer[length] = '\n';
    buffer[length + 1] = 0;
    std::fputs(buffer, stderr);
    std::fflush(stderr);
    return 0;
}

String dbg_stacktrace() {
    if (!dbg_info) return String();
    return String(dbg_info) + String("\n");
}

void dbg_throw(const char* error) {
    dbg_exstack = dbg_stacktrace();
    throw error;
}

int kzDebugStop() {
    dbg_stop();
    return 0;
}

int kzDebugLog(const String& text) { return kzPrint(text); }

void sighandler(int signal_number) {
    switch (signal_number) {
        case SIGFPE: dbg_error("Floating point exception");
        case SIGSEGV: dbg_error("Memory access violation");
        case SIGILL: dbg_error("Illegal instruction");
        default: dbg_error("Unknown signal");
    }
}
