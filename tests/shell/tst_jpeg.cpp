// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "resources/Resources.h"
#include "shell/JpegImage.h"

#include <QFile>
#include <QImage>
#include <QTest>

namespace {

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(QUORVIX_TEST_DATA "/shell/%1").arg(QString::fromLatin1(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool near(QRgb pixel, int red, int green, int blue)
{
    return qAbs(qRed(pixel) - red) < 24 && qAbs(qGreen(pixel) - green) < 24 &&
           qAbs(qBlue(pixel) - blue) < 24;
}

} // namespace

void TestJpeg::decodesColours()
{
    // 16 x 8: left half red, right half blue.
    const QImage image = DecodeJpeg(fixture("halves.jpg"));
    QCOMPARE(image.size(), QSize(16, 8));
    QVERIFY(near(image.pixel(1, 1), 255, 0, 0));
    QVERIFY(near(image.pixel(14, 6), 0, 0, 255));
}

void TestJpeg::decodesGreyAsRgb()
{
    const QImage image = DecodeJpeg(fixture("gray.jpg"));
    QCOMPARE(image.size(), QSize(6, 4));
    QVERIFY(near(image.pixel(3, 2), 127, 127, 127));
}

void TestJpeg::corruptDataRaises_data()
{
    const QByteArray good = fixture("halves.jpg");
    QVERIFY(good.size() > 100);
    QByteArray badMarker = good;
    badMarker[2] = '\x00'; // the first segment marker is gone
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a jpeg") << QByteArray("GIF89a this is not a picture at all");
    QTest::newRow("start marker only") << QByteArray("\xFF\xD8", 2);
    QTest::newRow("cut after the header") << good.left(good.size() / 2);
    QTest::newRow("cut before the end") << good.left(good.size() - 8);
    QTest::newRow("broken segment marker") << badMarker;
}

void TestJpeg::corruptDataRaises()
{
    QFETCH(QByteArray, data);
    try {
        const QImage image = DecodeJpeg(data);
        QFAIL(qPrintable(QStringLiteral("decoded %1 x %2").arg(image.width()).arg(image.height())));
    } catch (const JpegError& error) {
        QVERIFY(QString::fromUtf8(error.what())
                    .startsWith(QStringLiteral("Cannot decode the picture: ")));
    }
}

void TestJpeg::missingFileRaises()
{
    QVERIFY_THROWS_EXCEPTION(JpegError,
                             LoadJpeg(QStringLiteral(QUORVIX_TEST_DATA "/shell/none.jpg")));
}

void TestJpeg::shippedPictureSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("background") << resources::BackgroundPicture << QSize(592, 429);
    QTest::newRow("splash") << resources::SplashPicture << QSize(194, 332);
    QTest::newRow("about") << resources::AboutPicture << QSize(100, 135);
    QTest::newRow("band") << resources::BandBackground << QSize(128, 128);
    for (int index = 0; index < resources::ToolBarImageCount; ++index)
        QTest::addRow("tool bar %d", index) << resources::ToolBarImage(index) << QSize(24, 24);
    for (const char* name : {"PROCESSOR", "MEMORY", "VIDEO", "HDD", "MONITOR", "CDROM", "MOUSE",
                             "WINDOWS", "COMPUTER", "USERS"})
        QTest::newRow(name) << resources::IconPath(QString::fromLatin1(name)) << QSize(32, 32);
}

void TestJpeg::shippedPictureSizes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image = path.endsWith(QStringLiteral(".jpg")) ? LoadJpeg(path) : QImage(path);
    QCOMPARE(image.size(), size);
}
