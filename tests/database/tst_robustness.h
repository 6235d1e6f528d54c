// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Bad input gets a defined answer: NUL bytes, huge lines, many keys, binary
// junk, a missing file, a directory or a device in place of the file.
class TestRobustness : public QObject
{
    Q_OBJECT

private slots:
    void nulBytes();
    void hugeLine();
    void manyKeys();
    void binaryJunk();
    void notARegularFile_data();
    void notARegularFile();
    void missingFile();
    void sizeLimit_data();
    void sizeLimit();
    void fileThatBlocks();
};
