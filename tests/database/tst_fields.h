// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// ExtractField, TextToInteger and ReadNumber.
class TestFields : public QObject
{
    Q_OBJECT

private slots:
    void extractField_data();
    void extractField();
    void textToInteger_data();
    void textToInteger();
    void textToIntegerRejects_data();
    void textToIntegerRejects();
    void readNumber_data();
    void readNumber();
};
