// SPDX-License-Identifier: GPL-3.0-or-later
#include "XFill.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace platform {
namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> own(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

// A component of 0..255 placed into `mask`, scaled to the mask's width.
std::uint32_t place(std::uint32_t mask, std::uint8_t value)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t top = mask >> shift;
    const std::uint32_t scaled = (value * top + 127) / 255;
    return (scaled << shift) & mask;
}

std::uint8_t extract(std::uint32_t mask, std::uint32_t pixel)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t top = mask >> shift;
    const std::uint32_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
}

const xcb_screen_t* screenOfRoot(const xcb_setup_t* setup, xcb_window_t root)
{
    for (auto it = xcb_setup_roots_iterator(setup); it.rem; xcb_screen_next(&it)) {
        if (it.data->root == root)
            return it.data;
    }
    return nullptr;
}

const xcb_visualtype_t* findVisual(const xcb_screen_t* screen, xcb_visualid_t id)
{
    for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem;
         xcb_depth_next(&depth)) {
        for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
             xcb_visualtype_next(&visual)) {
            if (visual.data->visual_id == id)
                return visual.data;
        }
    }
    return nullptr;
}

int bitsPerPixelOfDepth(const xcb_setup_t* setup, std::uint8_t depth)
{
    const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
    const int count = xcb_setup_pixmap_formats_length(setup);
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            return formats[i].bits_per_pixel;
    }
    return 0;
}

std::uint16_t extent(int value)
{
    return static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

} // namespace

std::uint32_t PixelFromRgb(const PixelMasks& masks, Rgb color)
{
    return place(masks.red, color.red) | place(masks.green, color.green) |
           place(masks.blue, color.blue);
}

Rgb RgbFromPixel(const PixelMasks& masks, std::uint32_t pixel)
{
    return {extract(masks.red, pixel), extract(masks.green, pixel), extract(masks.blue, pixel)};
}

std::optional<std::uint32_t> FirstPixel(const std::uint8_t* data, std::size_t length,
                                        int bitsPerPixel, bool lsbFirst)
{
    if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return std::nullopt;
    const std::size_t bytes = static_cast<std::size_t>(bitsPerPixel / 8);
    if (data == nullptr || length < bytes)
        return std::nullopt;
    std::uint32_t pixel = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::size_t byte = lsbFirst ? bytes - 1 - i : i;
        pixel = (pixel << 8) | data[byte];
    }
    return pixel;
}

void WaitForServer(xcb_connection_t* connection)
{
    if (connection != nullptr)
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

std::unique_ptr<XWindowFill> XWindowFill::Connect(const char* display, std::uint32_t window)
{
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(connection) || window == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<XWindowFill> fill(new XWindowFill(connection, window));
    fill->m_ownsConnection = true;
    if (fill->m_gc == 0)
        return nullptr;
    return fill;
}

std::unique_ptr<XWindowFill> XWindowFill::Open(xcb_connection_t* connection, std::uint32_t window)
{
    if (connection == nullptr || window == 0 || xcb_connection_has_error(connection))
        return nullptr;
    std::unique_ptr<XWindowFill> fill(new XWindowFill(connection, window));
    if (fill->m_gc == 0)
        return nullptr;
    return fill;
}

XWindowFill::XWindowFill(xcb_connection_t* connection, std::uint32_t window)
    : m_connection(connection), m_window(window)
{
    const auto geometry =
        own(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const auto attributes = own(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!geometry || !attributes)
        return;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = screenOfRoot(setup, geometry->root);
    const xcb_visualtype_t* visual = screen ? findVisual(screen, attributes->visual) : nullptr;
    if (visual == nullptr)
        return;
    m_masks = {visual->red_mask, visual->green_mask, visual->blue_mask};
    m_bitsPerPixel = bitsPerPixelOfDepth(setup, screen->root_depth);
    m_readBitsPerPixel = bitsPerPixelOfDepth(setup, geometry->depth);
    m_lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;

    // No GraphicsExpose or NoExpose events for Qt to sort out.
    const std::uint32_t values[] = {screen->black_pixel, 0};
    m_gc = xcb_generate_id(connection);
    xcb_create_gc(connection, m_gc, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
}

XWindowFill::~XWindowFill()
{
    if (m_ownsConnection) {
        xcb_disconnect(m_connection); // frees the graphics context with it
        return;
    }
    if (m_gc != 0) {
        xcb_free_gc(m_connection, m_gc);
        xcb_flush(m_connection);
    }
}

void XWindowFill::Fill(int width, int height, Rgb color)
{
    const std::uint32_t pixel = PixelFromRgb(m_masks, color);
    xcb_change_gc(m_connection, m_gc, XCB_GC_FOREGROUND, &pixel);
    const xcb_rectangle_t rectangle{0, 0, extent(width), extent(height)};
    xcb_poly_fill_rectangle(m_connection, m_window, m_gc, 1, &rectangle);
}

std::optional<Rgb> XWindowFill::ReadPixel(int x, int y)
{
    const auto cookie =
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window,
                      static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 1, 1, ~0u);
    // The error is taken here, so that it does not reach the toolkit's log.
    xcb_generic_error_t* error = nullptr;
    const auto reply = own(xcb_get_image_reply(m_connection, cookie, &error));
    std::free(error);
    if (!reply)
        return std::nullopt;
    const auto pixel = FirstPixel(xcb_get_image_data(reply.get()),
                                  static_cast<std::size_t>(xcb_get_image_data_length(reply.get())),
                                  m_readBitsPerPixel, m_lsbFirst);
    if (!pixel)
        return std::nullopt;
    return RgbFromPixel(m_masks, *pixel);
}

} // namespace platform
