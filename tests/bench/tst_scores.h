// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TestScores : public QObject
{
    Q_OBJECT

private slots:
    void scaling_data();
    void scaling();
    void cpuAndFpuUseTheirOwnReference();
    void zeroReferenceNamesTheKey_data();
    void zeroReferenceNamesTheKey();
    void unreadableDatabaseSaysWhy_data();
    void unreadableDatabaseSaysWhy();
    void writtenReferenceSaysWhatIsWrong_data();
    void writtenReferenceSaysWhatIsWrong();
    void scoreOutside32BitsRaises_data();
    void scoreOutside32BitsRaises();
};
