// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// ReadText and ListKeys against real files: trimming, names without regard to
// case, first section and first key, quotes, comments, limits, code pages.
class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void readText_data();
    void readText();
    void listKeys_data();
    void listKeys();
    void valueLimit_data();
    void valueLimit();
    void keyListLimit_data();
    void keyListLimit();
    void encoding_data();
    void encoding();
    void readsFileAtEachCall();
    void readListAsListKeysAndReadText_data();
    void readListAsListKeysAndReadText();
};
