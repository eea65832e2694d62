// Starts a program on the X display and reports, on one line, the milliseconds from its exec
// to the mapping of its first window whose title holds a given text, and its resident memory
// in KiB a given time later; then ends it. The measuring half of bench/startup.
//
//     startup_probe TITLE SECONDS PROGRAM [ARGUMENT...]
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string Title(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                  xcb_atom_t utf8) {
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, utf8, 0, 1024), nullptr),
        &std::free);
    if (!reply) {
        return {};
    }
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

long ResidentKiB(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe TITLE SECONDS PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const std::string wanted = argv[1];
    const double settle = std::strtod(argv[2], nullptr);

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "startup_probe: no X display at %s\n", std::getenv("DISPLAY"));
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    // Top-level windows are the root's children without a window manager; with one, their
    // frames are, and the client is mapped into its frame: both are watched.
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &events);
    xcb_flush(connection);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        std::perror("startup_probe: exec");
        _exit(127);
    }

    long milliseconds = -1;
    bool running = true;
    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (milliseconds < 0 && running && Clock::now() - start < std::chrono::seconds(60)) {
        poll(&display, 1, 100);
        while (auto* raw = xcb_poll_for_event(connection)) {
            const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                // Watch a new frame's children too.
                const auto* created =
                    reinterpret_cast<const xcb_create_notify_event_t*>(event.get());
                xcb_change_window_attributes(connection, created->window, XCB_CW_EVENT_MASK,
                                             &events);
                xcb_flush(connection);
            } else if (type == XCB_MAP_NOTIFY && milliseconds < 0) {
                const auto* mapped = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
                const Clock::time_point at = Clock::now();
                if (Title(connection, mapped->window, netWmName, utf8).find(wanted) !=
                    std::string::npos) {
                    milliseconds =
                        std::chrono::duration_cast<std::chrono::milliseconds>(at - start).count();
                }
            }
        }
        running = waitpid(child, nullptr, WNOHANG) == 0;
    }
    if (!running) {
        std::fprintf(stderr, "startup_probe: %s ended before showing its window\n", argv[3]);
        return 1;
    }

    std::this_thread::sleep_for(std::chrono::duration<double>(settle));
    const long resident = ResidentKiB(child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (milliseconds < 0 || resident < 0) {
        std::fprintf(stderr, "startup_probe: %s showed no window titled \"%s\"\n", argv[3],
                     wanted.c_str());
        return 1;
    }
    std::printf("%ld %ld\n", milliseconds, resident);
    return 0;
}
