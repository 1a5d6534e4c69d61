#include "cli/run_progress.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <thread>

namespace isoquill::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

// Ctrl+C sets the flag while this lives; before and after it ends the program.
class InterruptWatch {
public:
    InterruptWatch() {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptWatch() { sigaction(SIGINT, &previous_, nullptr); }

private:
    struct sigaction previous_ {};
};

void showProgress(const RunControl& control) {
    const std::size_t toScore = control.toScore.load();
    if (toScore == 0) std::fprintf(stderr, "\rKandidaten gefunden: %zu ", control.found.load());
    else std::fprintf(stderr, "\rKandidaten bewertet: %zu von %zu ", control.scored.load(), toScore);
}

}  // namespace

void runWatched(RunControl& control, const std::function<void()>& body) {
    using Clock = std::chrono::steady_clock;
    const InterruptWatch watch;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::jthread worker([&] {
        try {
            body();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true);
    });
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const Clock::time_point start = Clock::now();
    Clock::time_point shown = start;
    bool showing = false;
    while (!done.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (interrupted) control.cancel = true;
        const Clock::time_point now = Clock::now();
        if (terminal && now - start >= std::chrono::seconds(1) && now - shown >= std::chrono::milliseconds(200)) {
            showProgress(control);
            showing = true;
            shown = now;
        }
    }
    worker.join();
    if (showing) std::fprintf(stderr, "\r\033[K");
    if (failure) std::rethrow_exception(failure);
}

}  // namespace isoquill::cli
