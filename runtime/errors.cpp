#include "runtime/errors.h"

#include <unistd.h>

#include <cerrno>
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
constexpr int kFatalStatus = -1;
constexpr char kReportPrefix[] = "Zarnik Runtime Error : ";

// A fatal report for the places where allocating or taking a stdio lock is
// not safe (the signal handler, and memory that has run out): the report and
// its empty stack-trace line, put together at compile time. The position
// text is never set in this program, so the stop line is the bare one.
struct PreparedReport {
    char text[80] = {};
    int length = 0;

    constexpr explicit PreparedReport(const char* message) {
        Append(kReportPrefix);
        Append(message);
        Append("\n\n");
    }
    constexpr void Append(const char* s) {
        while (*s) text[length++] = *s++;
    }
};
constexpr char kBareStopLines[] = "{{~~~~}}\n\n";

constexpr PreparedReport kFloatingPointReport("Floating point exception");
constexpr PreparedReport kMemoryAccessReport("Memory access violation");
constexpr PreparedReport kIllegalInstructionReport("Illegal instruction");
constexpr PreparedReport kUnknownSignalReport("Unknown signal");
constexpr PreparedReport kOutOfMemoryReport("Out of memory");

void write_all(int fd, const char* bytes, int length) {
    while (length > 0) {
        const ssize_t n = write(fd, bytes, static_cast<size_t>(length));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes += n;
        length -= static_cast<int>(n);
    }
}

// Async-signal-safe: write(2) and _exit only. The stop protocol is not
// offered; a program in this state cannot go on.
[[noreturn]] void write_prepared_report_and_end(const PreparedReport& report) {
    write_all(STDOUT_FILENO, report.text, report.length);
    write_all(STDERR_FILENO, kBareStopLines, sizeof kBareStopLines - 1);
    _exit(kFatalStatus);
}

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
    std::exit(kFatalStatus);
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
    const String report = String(kReportPrefix) + String(message);
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
    // A terminal on standard input is a person who started the program, not
    // a tool: waiting for a command would leave a dead window hanging.
    if (isatty(STDIN_FILENO)) std::exit(kFatalStatus);

    for (;;) {
        char line[kStopLineCapacity];
        if (!std::fgets(line, sizeof line, stdin) || !std::strchr(line, '\n')) std::exit(kFatalStatus);

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
        buffer = static_cast<char*>(kzMalloc(capacity));
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
        case SIGFPE: write_prepared_report_and_end(kFloatingPointReport);
        case SIGSEGV: write_prepared_report_and_end(kMemoryAccessReport);
        case SIGILL: write_prepared_report_and_end(kIllegalInstructionReport);
        default: write_prepared_report_and_end(kUnknownSignalReport);
    }
}

void dbg_out_of_memory() { write_prepared_report_and_end(kOutOfMemoryReport); }

void* kzMalloc(std::size_t bytes) {
    void* block = std::malloc(bytes);
    if (!block) dbg_out_of_memory();
    return block;
}
