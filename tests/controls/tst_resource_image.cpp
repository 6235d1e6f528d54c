// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartPixels.h"
#include "ControlsTests.h"
#include "PaintCounter.h"
#include "controls/ResourceImage.h"

#include <QTest>

namespace {

const QRgb Parent = qRgb(10, 20, 30);
const QRgb Solid = qRgb(220, 30, 30);
const QRgb Green = qRgb(20, 180, 40);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Lime = qRgb(0, 255, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb White = qRgb(255, 255, 255);
const QPoint Offset(10, 10);

// A filled parent holding one image control at (10, 10).
struct Holder
{
    QWidget parent;
    TResourceImage* image = nullptr;

    Holder()
    {
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(Parent));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
        parent.resize(100, 80);
        image = new TResourceImage(&parent);
        image->move(Offset);
    }

    QImage Snapshot() { return parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

struct Probe
{
    int x, y;
    QRgb colour;
};

} // namespace

Q_DECLARE_METATYPE(Probe)
Q_DECLARE_METATYPE(TResourceImageType)

void ResourceImageTest::initTestCase()
{
    QVERIFY(!QImage(":/icons/SOLID.png").isNull()); // the test resources are linked in
}

void ResourceImageTest::newControlIsEmptyIcon()
{
    Holder h;
    QCOMPARE(h.image->size(), QSize(32, 32));
    QCOMPARE(h.image->imageType(), riIcon);
    QVERIFY(h.image->resourceName().isEmpty());
    QVERIFY(h.image->image().isNull());
    QVERIFY(!h.image->autoFillBackground());
    QVERIFY(!h.image->testAttribute(Qt::WA_OpaquePaintEvent));
    QVERIFY(AllPixels(h.Snapshot(), QRect(0, 0, 100, 80), Parent));
}

void ResourceImageTest::setterRules()
{
    Holder h;
    h.parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.parent));
    TResourceImage& image = *h.image;
    PaintCounter painted(&image);
    int paints = 0;

    image.setResourceName("SOLID"); // loads and paints at once
    QCOMPARE(painted.count, ++paints);
    QVERIFY(!image.image().isNull());

    image.setResourceName("SOLID"); // same name: nothing happens
    QCOMPARE(painted.count, paints);

    image.setResourceName("solid"); // names compare case-sensitively
    QVERIFY(image.image().isNull());
    image.setResourceName("SOLID");
    paints = painted.count;

    image.setStretched(false); // unchanged, still repaints
    QCOMPARE(painted.count, ++paints);
    image.setStretched(true);
    QCOMPARE(painted.count, ++paints);

    image.setImageType(riCursor); // reloads the same-named icon, no repaint
    QCOMPARE(painted.count, paints);
    QVERIFY(!image.image().isNull());

    image.setImageType(riBitmap); // there is no bitmap of that name
    QVERIFY(image.image().isNull());
}

void ResourceImageTest::drawing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TResourceImageType>("type");
    QTest::addColumn<bool>("stretched");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<Probe>>("probes");

    QTest::newRow("icon stretched fills the control")
        << "SOLID" << riIcon << true << QSize(64, 48)
        << QList<Probe>{
               {0, 0, Solid}, {63, 0, Solid}, {0, 47, Solid}, {63, 47, Solid}, {64, 48, Parent}};
    QTest::newRow("icon at its own size in the top-left corner")
        << "SOLID" << riIcon << false << QSize(64, 48)
        << QList<Probe>{
               {0, 0, Solid}, {31, 31, Solid}, {32, 0, Parent}, {0, 32, Parent}, {63, 47, Parent}};
    QTest::newRow("cursor draws as the icon") << "SOLID" << riCursor << false << QSize(32, 32)
                                              << QList<Probe>{{0, 0, Solid}, {31, 31, Solid}};
    QTest::newRow("transparent pixels show the parent")
        << "HOLE" << riIcon << false << QSize(32, 32)
        << QList<Probe>{
               {0, 0, Green}, {7, 7, Green}, {8, 8, Parent}, {23, 23, Parent}, {24, 24, Green}};
    QTest::newRow("bitmap cut to the control")
        << "QUAD" << riBitmap << false << QSize(32, 32)
        << QList<Probe>{{0, 0, Red}, {23, 19, Red}, {31, 0, Lime}, {0, 31, Blue}, {31, 31, White}};
    QTest::newRow("bitmap stretched to half size")
        << "QUAD" << riBitmap << true << QSize(24, 20)
        << QList<Probe>{{0, 0, Red}, {11, 9, Red}, {23, 0, Lime}, {0, 19, Blue}, {12, 10, White}};
    QTest::newRow("missing icon draws nothing") << "NOPE" << riIcon << true << QSize(32, 32)
                                                << QList<Probe>{{0, 0, Parent}, {31, 31, Parent}};
    QTest::newRow("missing bitmap draws nothing") << "NOPE" << riBitmap << true << QSize(32, 32)
                                                  << QList<Probe>{{0, 0, Parent}, {31, 31, Parent}};
    QTest::newRow("icons are not bitmaps") << "SOLID" << riBitmap << false << QSize(32, 32)
                                           << QList<Probe>{{0, 0, Parent}, {31, 31, Parent}};
}

void ResourceImageTest::drawing()
{
    QFETCH(QString, name);
    QFETCH(TResourceImageType, type);
    QFETCH(bool, stretched);
    QFETCH(QSize, size);
    QFETCH(QList<Probe>, probes);

    Holder h;
    h.image->resize(size);
    h.image->setImageType(type);
    h.image->setResourceName(name);
    h.image->setStretched(stretched);
    const QImage shot = h.Snapshot();
    for (const Probe& probe : probes) {
        const QPoint at = Offset + QPoint(probe.x, probe.y);
        QVERIFY2((shot.pixel(at) | 0xFF000000) == probe.colour,
                 qPrintable(QStringLiteral("(%1, %2): %3")
                                .arg(probe.x)
                                .arg(probe.y)
                                .arg(shot.pixel(at), 8, 16, QChar('0'))));
    }
}

void ResourceImageTest::formPropertiesLoadAndPaint()
{
    Holder h;
    h.parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.parent));
    const PaintCounter painted(h.image);
    QVERIFY(h.image->setProperty("ResourceName", QStringLiteral("HOLE")));
    QVERIFY(h.image->setProperty("Stretched", true));
    QVERIFY(!h.image->image().isNull());
    QVERIFY(h.image->stretched());
    QCOMPARE(painted.count, 2);
}
