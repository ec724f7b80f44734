// SPDX-License-Identifier: GPL-3.0-or-later
// Starts each of two programs again and again on the X display and times every start until
// its first top-level window is mapped and its event loop answers a _NET_WM_PING sent to that
// window, then ends it with SIGTERM. Prints each program's median and their ratio.
//
//   kelvarion_startup_time RUNS PROGRAM [ARGUMENTS...] -- PROGRAM [ARGUMENTS...]
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;
constexpr int kTimeoutMs = 20000;

struct SDisplay
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t protocols = 0;
    xcb_atom_t ping = 0;
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : 0;
}

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

void SendPing(const SDisplay& display, xcb_window_t window)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = display.protocols;
    message.data.data32[0] = display.ping;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = window;
    xcb_send_event(display.connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(display.connection);
}

// Milliseconds from the start to the answered ping; negative when the window never came.
double TimeOneStart(const SDisplay& display, const std::vector<char*>& command)
{
    const TClock::time_point start = TClock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, command[0], nullptr, nullptr, command.data(), environ) != 0)
        return -1;
    const TClock::time_point deadline = start + std::chrono::milliseconds(kTimeoutMs);
    xcb_window_t window = 0;
    double elapsed = -1;
    while (xcb_generic_event_t* event = NextEvent(display.connection, deadline)) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY && window == 0) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (!map->override_redirect) {
                window = map->window;
                SendPing(display, window);
            }
        } else if (type == XCB_CLIENT_MESSAGE && window != 0) {
            const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (answer->data.data32[0] == display.ping && answer->data.data32[2] == window)
                elapsed = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        }
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
    SDisplay display;
    display.connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(display.connection)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    display.root = xcb_setup_roots_iterator(xcb_get_setup(display.connection)).data->root;
    display.protocols = Atom(display.connection, "WM_PROTOCOLS");
    display.ping = Atom(display.connection, "_NET_WM_PING");
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display.connection, display.root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(display.connection);

    std::vector<std::vector<double>> times(commands.size());
    // Taken in turns, so that a slow spell of the machine falls on both.
    for (int run = 0; run < runs; ++run) {
        for (size_t c = 0; c < commands.size(); ++c) {
            std::vector<char*> command = commands[c];
            command.push_back(nullptr);
            const double ms = TimeOneStart(display, command);
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
    xcb_disconnect(display.connection);
    return 0;
}
