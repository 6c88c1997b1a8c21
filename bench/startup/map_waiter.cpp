// Starts a program and reports how long it took to map its first window on
// the X display, and the peak resident memory it had reached a moment later.
//
//   map_waiter [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARGS...]
//
// Prints "map_ms=<milliseconds> peak_kb=<kilobytes>" and ends the program. It
// watches the root window for MapNotify, so it expects a display with no
// window manager (and nothing else mapping windows).
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long PeakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    int settleMs = 500;
    int timeoutMs = 10000;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        }
        if (first + 1 < argc && std::strcmp(argv[first], "--settle-ms") == 0) {
            settleMs = std::atoi(argv[++first]);
        } else if (first + 1 < argc && std::strcmp(argv[first], "--timeout-ms") == 0) {
            timeoutMs = std::atoi(argv[++first]);
        } else {
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARGS...]\n",
                     argv[0]);
        return 2;
    }

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "map_waiter: cannot open the display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("map_waiter: fork");
        return 1;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execv(argv[first], argv + first);
        std::perror("map_waiter: exec");
        _exit(127);
    }

    bool mapped = false;
    Clock::time_point mappedAt;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (!mapped) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) {
                mappedAt = Clock::now();
                mapped = true;
                break;
            }
        }
        if (mapped) break;
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (waited > timeoutMs || waitpid(child, nullptr, WNOHANG) == child) break;
        poll(&fd, 1, 20);
    }
    if (!mapped) {
        std::fprintf(stderr, "map_waiter: %s mapped no window\n", argv[first]);
        Stop(child);
        return 1;
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long peak = PeakKilobytes(child);
    Stop(child);
    XCloseDisplay(display);
    const double ms = std::chrono::duration<double, std::milli>(mappedAt - start).count();
    std::printf("map_ms=%.2f peak_kb=%ld\n", ms, peak);
    return 0;
}
