// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class ChartGeometryTest : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void gradientBands_data();
    void gradientBands();
};

class ChartRenderTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void emptyChartIsBackgroundOnly();
    void gradientBarShadowAndValue();
    void solidBarUsesBarColour();
    void shortBarIsOneBandInEndColour();
    void widestCaptionStartsAtBorder();
    void spacerRowDrawsNothing();
    void degenerateBarsDrawNoRectangle();
};

class MyChartTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void addBarStopsAtCapacity();
    void redrawRendersOncePerChange();
    void showsTheBarsItIsGiven();
    void repaintOfValidPictureOnlyCopies();
    void resizeRerenders();
    void storedValuesShowAtNextRedraw();
    void nestedBeginUpdateResumesOnOneEndUpdate();
    void coloursComeFromPaletteAndProperties();
};

class ResourceImageTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void newControlIsEmptyIcon();
    void setterRules();
    void drawing_data();
    void drawing();
    void formPropertiesLoadAndPaint();
};

class BusyTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void hourglassIsNotAStack();
    void beginAndEnd();
};
