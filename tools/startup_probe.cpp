// SPDX-License-Identifier: GPL-3.0-or-later
// startup_probe PROGRAM [ARGS...]
// Starts PROGRAM on the X display and reports, in milliseconds after exec:
//   first   the first frame of its window that shows anything (not black),
//   splash  the first frame with the silver splash panel (192, 192, 192),
//   ready   the first frame with the dark grey overview panel (96, 96, 96),
//   raised / lowered  when its main thread entered and left a raised
//           scheduling class (the clock measurement's time-critical bracket).
// Frames are read from the X server (Damage extension, then GetImage of the
// window), so they are what the screen shows, not what the program thinks.
// A program that shows neither panel (a minimal window) ends at its first
// frame; otherwise the probe ends at "ready". Prints one line of key=value.
// Benchmark only: not a test.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Frame
{
    long pixels = 0;
    long lit = 0; // any channel above 16
    long silver = 0;
    long darkGrey = 0;
};

Frame readFrame(xcb_connection_t* c, xcb_window_t window)
{
    Frame frame;
    auto* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (geometry == nullptr)
        return frame;
    auto* image = xcb_get_image_reply(c,
                                      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                                    geometry->width, geometry->height, ~0u),
                                      nullptr);
    free(geometry);
    if (image == nullptr)
        return frame;
    const auto* data = xcb_get_image_data(image);
    const int length = xcb_get_image_data_length(image);
    for (int i = 0; i + 3 < length; i += 4) { // 32 bits a pixel: blue, green, red, pad
        const int b = data[i], g = data[i + 1], r = data[i + 2];
        ++frame.pixels;
        frame.lit += (r > 16 || g > 16 || b > 16) ? 1 : 0;
        frame.silver += (r == 192 && g == 192 && b == 192) ? 1 : 0;
        frame.darkGrey += (r == 96 && g == 96 && b == 96) ? 1 : 0;
    }
    free(image);
    return frame;
}

std::optional<std::uint32_t> windowPid(xcb_connection_t* c, xcb_window_t window)
{
    static const char name[] = "_NET_WM_PID";
    auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    if (atom == nullptr)
        return std::nullopt;
    auto* property = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    free(atom);
    std::optional<std::uint32_t> pid;
    if (property != nullptr && xcb_get_property_value_length(property) == 4)
        pid = *static_cast<std::uint32_t*>(xcb_get_property_value(property));
    free(property);
    return pid;
}

// True while the thread runs in a real-time class or with a raised nice value.
bool raised(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream fields(text.substr(close + 2)); // field 3 onwards
    std::string field;
    long nice = 0, policy = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 19)
            nice = std::atol(field.c_str());
        if (index == 41)
            policy = std::atol(field.c_str());
    }
    return policy != 0 || nice < 0;
}

struct Marks
{
    std::map<std::string, double> at;
    void set(const std::string& name, double t)
    {
        if (at.count(name) == 0)
            at[name] = t;
    }
    bool has(const std::string& name) const { return at.count(name) != 0; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM [ARGS...]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    auto* version = xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr);
    free(version);
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (damage == nullptr || !damage->present) {
        std::fprintf(stderr, "startup_probe: no Damage extension\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    Marks marks;
    std::map<xcb_window_t, bool> ours; // window -> belongs to the child
    bool wasRaised = false;
    bool done = false;
    const int fd = xcb_get_file_descriptor(c);
    while (!done && nowMs() - start < 60000) {
        const double t = nowMs() - start;
        const bool isRaised = raised(child);
        if (isRaised && !wasRaised)
            marks.set("raised", t);
        if (!isRaised && wasRaised)
            marks.set("lowered", t);
        wasRaised = isRaised;

        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 1);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const int type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                xcb_damage_create(c, xcb_generate_id(c), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(c);
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
                const auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                const double seen = nowMs() - start;
                xcb_damage_subtract(c, notify->damage, XCB_NONE, XCB_NONE);
                if (ours.count(notify->drawable) == 0)
                    ours[notify->drawable] = windowPid(c, notify->drawable) == std::uint32_t(child);
                if (ours[notify->drawable]) {
                    const Frame frame = readFrame(c, notify->drawable);
                    if (frame.lit * 20 > frame.pixels)
                        marks.set("first", seen);
                    if (frame.silver > 40000)
                        marks.set("splash", seen);
                    if (frame.darkGrey > 40000)
                        marks.set("ready", seen);
                }
            }
            free(event);
        }
        // A window without the program's panels: its first frame is all there is.
        const bool panels = marks.has("splash") || marks.has("raised");
        const bool plain = marks.has("first") && !panels && marks.at["first"] + 500 < t;
        done = marks.has("ready") || plain;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            break;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);

    for (const char* name : {"first", "splash", "raised", "lowered", "ready"})
        if (marks.has(name))
            std::printf("%s=%.1f ", name, marks.at[name]);
    std::printf("\n");
    return marks.has("first") ? 0 : 1;
}
