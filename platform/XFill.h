// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

// The connection type of libxcb; callers pass what their toolkit holds.
struct xcb_connection_t;

namespace platform {

struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// Where each colour sits in a pixel value of a true-colour visual.
struct PixelMasks
{
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
};

// The pixel value of a colour, each component scaled to its mask's width.
std::uint32_t PixelFromRgb(const PixelMasks& masks, Rgb color);

// The colour of a pixel value, each component scaled back to 0..255.
Rgb RgbFromPixel(const PixelMasks& masks, std::uint32_t pixel);

// The first pixel of Z-format image data of `bitsPerPixel` (8, 16, 24 or 32)
// in the server's byte order; nullopt for other sizes or too little data.
std::optional<std::uint32_t> FirstPixel(const std::uint8_t* data, std::size_t length,
                                        int bitsPerPixel, bool lsbFirst);

// Returns once the server has carried out every request sent on `connection`.
void WaitForServer(xcb_connection_t* connection);

// Fills a window through the X server and reads its pixels back, the way a
// screen driver is measured: each fill is one PolyFillRectangle in a solid
// graphics context, each read one GetImage whose reply is awaited, so every
// request before it has been carried out.
class XWindowFill
{
public:
    // On a connection the caller keeps. Null when the window or its visual
    // cannot be queried.
    static std::unique_ptr<XWindowFill> Open(xcb_connection_t* connection, std::uint32_t window);

    // On a connection of its own to `display` (DISPLAY's when null), closed
    // with the object: every reply is read by the thread that waits for it,
    // never handed over by a toolkit's event thread. Null when the display
    // cannot be reached or the window queried.
    static std::unique_ptr<XWindowFill> Connect(const char* display, std::uint32_t window);
    ~XWindowFill();
    XWindowFill(const XWindowFill&) = delete;
    XWindowFill& operator=(const XWindowFill&) = delete;

    // Fills the rectangle from (0, 0) to (width, height) with `color`.
    void Fill(int width, int height, Rgb color);

    // The colour of the window's pixel at (x, y); nullopt when the server
    // refuses (the window is not viewable, say).
    std::optional<Rgb> ReadPixel(int x, int y);

    // What the server stores per pixel of the window's depth (32 for depth 24).
    int BitsPerPixel() const { return m_bitsPerPixel; }

private:
    XWindowFill(xcb_connection_t* connection, std::uint32_t window);

    xcb_connection_t* m_connection;
    bool m_ownsConnection = false;
    std::uint32_t m_window;
    std::uint32_t m_gc = 0;
    PixelMasks m_masks;
    int m_bitsPerPixel = 0;
    int m_readBitsPerPixel = 0; // of the window's own depth, for GetImage data
    bool m_lsbFirst = true;
};

} // namespace platform
