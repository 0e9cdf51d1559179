#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <tuple>

#include "runtime/array.h"
#include "runtime/errors.h"
#include "runtime/object.h"
#include "tests/support/child_process.h"

namespace {

constexpr int kFailureStatus = 255;  // exit(-1)
const std::string kReport = "Zarnik Runtime Error : x\n\n";
const std::string kStopLine = "{{~~~~}}\n\n";

using Outcome = std::tuple<std::string, std::string, int>;  // standard output, standard error, exit status

Outcome OutcomeOf(const ChildResult& r) { return {r.out, r.err, r.exit_status}; }

ChildResult FailWithX(const std::string& input) {
    return RunInChild([] { kzError(String("x")); }, input);
}

TEST(ErrorsTest, EmptyErrorEndsQuietlyWithStatusZero) {
    EXPECT_EQ(OutcomeOf(RunInChild([] { kzError(String()); std::puts("not reached"); })), Outcome("", "", 0));
}

TEST(ErrorsTest, FatalErrorReportsThenFollowsTheStopProtocolOnStandardInput) {
    const struct { std::string input, out, err; int status; } cases[] = {
        {"", kReport, kStopLine, kFailureStatus},  // end of input
        {"r\n", kReport + kReport, kStopLine + kStopLine, kFailureStatus},  // resuming (any step mode) repeats it
        {"q\n", kReport, kStopLine, 0},
        {"?\n?\nq\n", kReport, kStopLine, 0},  // "?" reads the next line
        {"zap it\n", kReport + "????? zap it ?????\n", kStopLine, kFailureStatus},
        {"q", kReport, kStopLine, kFailureStatus},  // no line feed
        {std::string(300, 'q') + "\n", kReport, kStopLine, kFailureStatus},
    };
    for (const auto& c : cases) EXPECT_EQ(OutcomeOf(FailWithX(c.input)), Outcome(c.out, c.err, c.status)) << c.input;
}

// Someone who started the program from a shell gets the report and the end,
// not a program waiting for a command on the terminal.
TEST(ErrorsTest, FatalErrorEndsAtOnceWhenStandardInputIsATerminal) {
    const ChildResult r = RunInTerminal([] { kzError(String("x")); });
    EXPECT_EQ(std::make_tuple(r.out, r.exit_status), std::make_tuple(std::string("Zarnik Runtime Error : x\r\n\r\n{{~~~~}}\r\n\r\n"), kFailureStatus));
}

TEST(ErrorsTest, AddressCommandDescribesOnlyLiveCollectedObjects) {
    Object* live = new Object();
    char on_stack = 0;
    char live_text[64], stack_text[64];
    std::snprintf(live_text, sizeof live_text, "@%p\n", static_cast<void*>(live));
    std::snprintf(stack_text, sizeof stack_text, "@%p\n", static_cast<void*>(&on_stack));
    const struct { std::string input, description; } cases[] = {
        {live_text, "+Object\n\n"},  // the description ends in a line feed of its own
        {"@0\n", "\n"},
        {"@(nil)\n", "\n"},
        {"@0x12345678\n", "\n"},
        {stack_text, "\n"},
        {"@not an address\n", "\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OutcomeOf(FailWithX(c.input + "q\n")), Outcome(kReport, kStopLine + c.description, 0)) << c.input;
    }
}

TEST(ErrorsTest, SignalsBecomeFatalErrorsWithTheirMessages) {
    const struct { int signal; const char* message; } cases[] = {
        {SIGFPE, "Floating point exception"}, {SIGSEGV, "Memory access violation"},
        {SIGILL, "Illegal instruction"},      {SIGUSR1, "Unknown signal"},
    };
    for (const auto& c : cases) {
        const int sig = c.signal;
        const ChildResult r = RunInChild([sig] {
            std::signal(sig, sighandler);
            std::raise(sig);
        });
        EXPECT_EQ(OutcomeOf(r), Outcome(std::string("Zarnik Runtime Error : ") + c.message + "\n\n", kStopLine, kFailureStatus))
            << c.message;
    }
}

// The crash report takes no lock and allocates nothing: it is written even
// while another thread holds both standard streams, and the program ends at
// once (a tool's "r" is not read: a crashed program cannot go on).
TEST(ErrorsTest, CrashReportIsWrittenWhileTheStreamsAreLockedAndEndsTheProgram) {
    const ChildResult r = RunInChild(
        [] {
            std::signal(SIGSEGV, sighandler);
            std::promise<void> locked;
            std::thread([&locked] {
                flockfile(stdout);
                flockfile(stderr);
                locked.set_value();
                for (;;) pause();
            }).detach();
            locked.get_future().wait_for(std::chrono::seconds(10));
            std::raise(SIGSEGV);
        },
        "r\n");
    EXPECT_EQ(OutcomeOf(r), Outcome("Zarnik Runtime Error : Memory access violation\n\n", kStopLine, kFailureStatus));
}

// The address space left to a process that is already using what it uses.
void LimitAddressSpaceToCurrentUse() {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t bytes = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (16 << 20);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
}

TEST(ErrorsTest, RequestsThatCannotBeMetEndWithTheOutOfMemoryReport) {
    const struct {
        const char* what;
        std::function<void()> request;
        bool runs_out_for_real;
    } cases[] = {
        {"array beyond the int range", [] { Array<int> huge(600'000'000); }, false},
        {"memory exhausted", [] { LimitAddressSpaceToCurrentUse(); Array<char> huge(1'000'000'000); }, true},
    };
    for (const auto& c : cases) {
#if defined(__SANITIZE_ADDRESS__)
        if (c.runs_out_for_real) continue;  // the sanitizer reports failed allocations itself
#endif
        EXPECT_EQ(OutcomeOf(RunInChild(c.request)), Outcome("Zarnik Runtime Error : Out of memory\n\n", kStopLine, kFailureStatus))
            << c.what;
    }
}

TEST(ErrorsTest, PrintWritesUtf8Lines) {
    const Char euro[] = {0x20AC};
    const Char with_zero[] = {'a', 0, 'b'};
    const ChildResult r = RunInChild([&] {
        kzPrint(String(euro, 1));
        kzPrint(String(with_zero, 3));  // stops at character 0, line feed included
        kzPrint(String("end"));
    });
    EXPECT_EQ(r.out, "\xE2\x82\xAC\naend\n");
}

}  // namespace
