// SPDX-License-Identifier: GPL-3.0-or-later
// xcb_fill WIDTH HEIGHT [FILLS]
// The video kernel's work done by the plainest program there is: one
// connection, one thread, a window of its own covering the screen, and
// FILLS times (400 unless told) a PolyFillRectangle of WIDTH x HEIGHT in a
// random solid colour followed by a GetImage of pixel (0, 0) whose reply is
// awaited. The loop runs at SCHED_FIFO 49 where permitted, as the kernel's
// bracket does. Prints the pixel rate ("px/s N"). The yardstick of
// tools/bench_video; no part of the program.

#include <xcb/xcb.h>

#include <sched.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

xcb_window_t showWindow(xcb_connection_t* c, const xcb_screen_t* screen)
{
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->black_pixel, 1, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, screen->width_in_pixels,
                      screen->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(c, window);
    xcb_flush(c);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool exposed = (event->response_type & 0x7F) == XCB_EXPOSE;
        std::free(event);
        if (exposed)
            break;
    }
    return window;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: xcb_fill WIDTH HEIGHT [FILLS]\n");
        return 2;
    }
    const auto width = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const auto height = static_cast<std::uint16_t>(std::atoi(argv[2]));
    const int fills = argc > 3 ? std::atoi(argv[3]) : 400;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = showWindow(c, screen);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    const std::uint32_t gcValues[] = {screen->black_pixel, 0};
    xcb_create_gc(c, gc, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, gcValues);
    std::minstd_rand random(static_cast<unsigned>(nowMs()));
    const xcb_rectangle_t rectangle{0, 0, width, height};

    sched_param param{};
    param.sched_priority = 49;
    sched_setscheduler(0, SCHED_FIFO, &param);
    const double start = nowMs();
    for (int i = 0; i < fills; ++i) {
        const std::uint32_t pixel = random() & 0xFFFFFF;
        xcb_change_gc(c, gc, XCB_GC_FOREGROUND, &pixel);
        xcb_poly_fill_rectangle(c, window, gc, 1, &rectangle);
        std::free(xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, 1, 1, ~0u), nullptr));
    }
    const double elapsed = nowMs() - start;
    param.sched_priority = 0;
    sched_setscheduler(0, SCHED_OTHER, &param);

    xcb_disconnect(c);
    std::printf("px/s %.0f\n", double(width) * height * fills / elapsed * 1000.0);
    return 0;
}
