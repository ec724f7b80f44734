// SPDX-License-Identifier: GPL-3.0-or-later
// Starts each of two programs again and again on the X display and times every start until
// its first top-level window is mapped, then ends it with SIGTERM. Prints each program's median
// and their ratio.
//
//   kelvarion_startup_time RUNS PROGRAM [ARGUMENTS...] -- PROGRAM [ARGUMENTS...]
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;
constexpr int kTimeoutMs = 20000;

// The next event, or none once the deadline has passed.
xcb_generic_event_t* NextEvent(xcb_connection_t* connection, TClock::time_point deadline)
{
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(connection))
            return event;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now());
        if (left.count() <= 0)
            return nullptr;
        pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&descriptor, 1, int(left.count()));
    }
}

// Milliseconds from the start to the mapped window; negative when the window never came.
double TimeOneStart(xcb_connection_t* connection, const std::vector<char*>& command)
{
    const TClock::time_point start = TClock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, command[0], nullptr, nullptr, command.data(), environ) != 0)
        return -1;
    const TClock::time_point deadline = start + std::chrono::milliseconds(kTimeoutMs);
    double elapsed = -1;
    while (xcb_generic_event_t* event = NextEvent(connection, deadline)) {
        // Menus and tooltips are override-redirect windows, never the first window.
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect)
            elapsed = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        std::free(event);
        if (elapsed >= 0)
            break;
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::vector<char*>> commands(1);
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            commands.emplace_back();
        else
            commands.back().push_back(argv[i]);
    }
    const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (runs < 1 || commands.size() != 2 || commands[0].empty() || commands[1].empty()) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGUMENTS...] -- PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<std::vector<double>> times(commands.size());
    // Taken in turns, so that a slow spell of the machine falls on both.
    for (int run = 0; run < runs; ++run) {
        for (size_t c = 0; c < commands.size(); ++c) {
            std::vector<char*> command = commands[c];
            command.push_back(nullptr);
            const double ms = TimeOneStart(connection, command);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no window\n", command[0]);
                return 1;
            }
            times[c].push_back(ms);
        }
    }
    const double program = Median(times[0]);
    const double bare = Median(times[1]);
    std::printf("%-40s median of %d: %7.1f ms\n", commands[0][0], runs, program);
    std::printf("%-40s median of %d: %7.1f ms\n", commands[1][0], runs, bare);
    std::printf("ratio %.2f\n", program / bare);
    xcb_disconnect(connection);
    return 0;
}
