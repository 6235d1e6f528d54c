// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// WriteText and RemoveSection: exactly which bytes change, line endings,
// encodings, the file's permissions, and the error of a failed write.
class TestWriting : public QObject
{
    Q_OBJECT

private slots:
    void writeText_data();
    void writeText();
    void removeSection_data();
    void removeSection();
    void writeReencodesWindows1251();
    void keepsPermissionsAndLinks();
    void failedWrite_data();
    void failedWrite();
    void shortWrite_data();
    void shortWrite();
};
