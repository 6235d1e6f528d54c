// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// ReplaceLists gives the bytes that RemoveSection of the four lists followed
// by WriteText for each row gives, in one replacement of the file, except
// that keys alike but for case keep a line each.
class TestReplaceLists : public QObject
{
    Q_OBJECT

private slots:
    void everyRowKept_data();
    void everyRowKept();
    void sameAsRemoveAndWrite_data();
    void sameAsRemoveAndWrite();
    void resultingFile();
    void editorRoundTrip_data();
    void editorRoundTrip();
};
