// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"

#include "platform/XFill.h"

#include <QTest>

using platform::PixelMasks;
using platform::Rgb;

Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(PixelMasks)

namespace {

constexpr PixelMasks kDepth24{0xFF0000, 0x00FF00, 0x0000FF};
constexpr PixelMasks kDepth16{0xF800, 0x07E0, 0x001F};
constexpr PixelMasks kDepth15{0x7C00, 0x03E0, 0x001F};
constexpr PixelMasks kDepth30{0x3FF00000, 0x000FFC00, 0x000003FF};
constexpr PixelMasks kBgr24{0x0000FF, 0x00FF00, 0xFF0000};

} // namespace

void XFillTest::pixelOfColor_data()
{
    QTest::addColumn<PixelMasks>("masks");
    QTest::addColumn<Rgb>("color");
    QTest::addColumn<quint32>("pixel");
    QTest::addColumn<Rgb>("readBack");

    QTest::newRow("depth 24") << kDepth24 << Rgb{0x12, 0x34, 0x56} << 0x123456u
                              << Rgb{0x12, 0x34, 0x56};
    QTest::newRow("blue first in the pixel")
        << kBgr24 << Rgb{0x12, 0x34, 0x56} << 0x563412u << Rgb{0x12, 0x34, 0x56};
    QTest::newRow("depth 16 white")
        << kDepth16 << Rgb{255, 255, 255} << 0xFFFFu << Rgb{255, 255, 255};
    QTest::newRow("depth 16 red") << kDepth16 << Rgb{255, 0, 0} << 0xF800u << Rgb{255, 0, 0};
    // 128 of 255 is 15.5 of 31 and 31.6 of 63: the nearest steps, and back.
    QTest::newRow("depth 16 grey")
        << kDepth16 << Rgb{128, 128, 128} << 0x8410u << Rgb{132, 130, 132};
    QTest::newRow("depth 15 green") << kDepth15 << Rgb{0, 255, 0} << 0x03E0u << Rgb{0, 255, 0};
    QTest::newRow("depth 30 white")
        << kDepth30 << Rgb{255, 255, 255} << 0x3FFFFFFFu << Rgb{255, 255, 255};
    QTest::newRow("no masks") << PixelMasks{} << Rgb{1, 2, 3} << 0u << Rgb{0, 0, 0};
}

void XFillTest::pixelOfColor()
{
    QFETCH(PixelMasks, masks);
    QFETCH(Rgb, color);
    QFETCH(quint32, pixel);
    QFETCH(Rgb, readBack);
    QCOMPARE(platform::PixelFromRgb(masks, color), pixel);
    QVERIFY(platform::RgbFromPixel(masks, pixel) == readBack);
}

void XFillTest::firstPixel_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("bitsPerPixel");
    QTest::addColumn<bool>("lsbFirst");
    QTest::addColumn<qint64>("pixel"); // -1: none

    const QByteArray bytes("\x56\x34\x12\x00\x99", 5);
    QTest::newRow("32 bits, least significant byte first") << bytes << 32 << true << 0x123456ll;
    QTest::newRow("32 bits, most significant first") << bytes << 32 << false << 0x56341200ll;
    QTest::newRow("24 bits") << bytes << 24 << true << 0x123456ll;
    QTest::newRow("16 bits") << bytes << 16 << true << 0x3456ll;
    QTest::newRow("16 bits, most significant first") << bytes << 16 << false << 0x5634ll;
    QTest::newRow("8 bits") << bytes << 8 << true << 0x56ll;
    QTest::newRow("4 bits are not read") << bytes << 4 << true << -1ll;
    QTest::newRow("too little data") << bytes.left(3) << 32 << true << -1ll;
}

void XFillTest::firstPixel()
{
    QFETCH(QByteArray, data);
    QFETCH(int, bitsPerPixel);
    QFETCH(bool, lsbFirst);
    QFETCH(qint64, pixel);
    const auto result =
        platform::FirstPixel(reinterpret_cast<const std::uint8_t*>(data.constData()),
                             static_cast<std::size_t>(data.size()), bitsPerPixel, lsbFirst);
    QCOMPARE(result ? qint64(*result) : -1ll, pixel);
}
