// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a program and prints the milliseconds from its start until a window with the given
// title is exposed on the X screen, the milliseconds until a point of that window took the
// colour it keeps (its first painting, watched for 300 ms after the exposure), and the
// program's process id; then waits until the program ends. It waits on the X server's events
// and then samples the point a few thousand times a second, so it takes little processor time
// from what it measures.
// Usage: bench_start_timer TITLE PROGRAM [ARGUMENTS...]
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::string titleOf(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr),
        &std::free);
    if (!reply)
        return {};
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

// Inside the instructions page, clear of its text and pictures; inside any maximized window.
constexpr int16_t SampleX = 20, SampleY = 20;

uint32_t colourAt(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_get_image_reply_t> reply(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, SampleX,
                                          SampleY, 1, 1, ~0u),
                            nullptr),
        &std::free);
    uint32_t colour = 0;
    if (reply && xcb_get_image_data_length(reply.get()) >= 4)
        std::memcpy(&colour, xcb_get_image_data(reply.get()), 4);
    return colour;
}

bool viewable(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_get_window_attributes_reply_t> reply(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window),
                                        nullptr),
        &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // Every new top-level window is reported; the request is through before the program starts.
    const uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &rootEvents);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[2]);
        return 1;
    }
    using Milliseconds = std::chrono::duration<double, std::milli>;
    const auto report = [&](xcb_window_t window) {
        const auto exposed = std::chrono::steady_clock::now();
        auto painted = exposed;
        uint32_t colour = colourAt(connection, window);
        for (auto now = exposed; now - exposed < std::chrono::milliseconds(300);
             now = std::chrono::steady_clock::now()) {
            if (const uint32_t c = colourAt(connection, window); c != colour) {
                colour = c;
                painted = now;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::printf("%.1f %.1f %d\n", Milliseconds(exposed - start).count(),
                    Milliseconds(painted - start).count(), int(pid));
        std::fflush(stdout);
        waitpid(pid, nullptr, 0);
        return 0;
    };

    while (const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{
        xcb_wait_for_event(connection), &std::free}) {
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const xcb_window_t window =
                reinterpret_cast<xcb_create_notify_event_t*>(event.get())->window;
            const uint32_t events = XCB_EVENT_MASK_EXPOSURE;
            xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &events);
            // Shown before the request above took effect: no exposure will be reported.
            if (viewable(connection, window) && titleOf(connection, window) == title)
                return report(window);
            break;
        }
        case XCB_EXPOSE: {
            const xcb_window_t window = reinterpret_cast<xcb_expose_event_t*>(event.get())->window;
            if (titleOf(connection, window) == title)
                return report(window);
            break;
        }
        }
    }
    std::fprintf(stderr, "the X connection closed\n");
    return 1;
}
